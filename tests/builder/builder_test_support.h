#pragma once
// Small projects and levels for the builder tests.
#include "levelfile/level_image.h"
#include "project/sample_projects.h"
