#include "filterSwitch.h"

int32_t filterCancel = 0;
