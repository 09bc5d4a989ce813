#include "GsCtrlTextEffect.h"

namespace gs {

void GsCtrlTextEffect::Changed()
{
    OnChange()(this);
}

} // namespace gs
