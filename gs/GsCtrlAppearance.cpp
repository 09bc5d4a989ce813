#include "GsCtrlAppearance.h"
