#include "appInstance.h"

HINSTANCE appInstance = nullptr;
