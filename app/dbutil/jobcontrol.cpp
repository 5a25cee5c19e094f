#include "jobcontrol.h"
