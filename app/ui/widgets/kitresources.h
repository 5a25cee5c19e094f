// The kit's style sheet and pictures live in a static library: whoever links it registers them once.
#pragma once

#include <QString>

// Registers ":/qss/assets/style.qss" and every picture; safe to call more than once.
void initKitResources();

// The program's style sheet text (empty when the resource is missing).
QString kitStyleSheet();
