// Simulated face-recognition cameras: what tests embed.
#pragma once

#include "camera.h"
#include "camera_config.h"
#include "http/faults.h"
#include "simulator.h"
