// Export macro of the shellframe library.
#pragma once

#include <QtGlobal>

#if defined(SHELLFRAME_LIBRARY)
#define SHELLFRAME_EXPORT Q_DECL_EXPORT
#else
#define SHELLFRAME_EXPORT Q_DECL_IMPORT
#endif
