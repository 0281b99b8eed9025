#pragma once

// The mark for texts the user reads lives with the lowest layer that has such texts.
#include "model/Texts.h"
