#include "FilterFactory.h"

namespace gs {

FilterFactory::~FilterFactory() = default;

} // namespace gs
