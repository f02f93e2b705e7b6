#include "ui/timer.h"

#include "core/errors.h"

namespace Nerova::Kite {

Timer::Timer(const ControlFactory& factory) {
    if (!factory) throw RT::Core::InvalidParameterException("ControlFactory must not be null.");
    ObjectPtr<ITimer>::operator=(queryObject<ITimer>(factory.createControl("Timer", "").get()));
}

void Timer::setInterval(Int milliseconds) const {
    if (get() == nullptr) throw RT::Core::InvalidParameterException();
    checkResult(get()->setInterval(milliseconds));
}

}  // namespace Nerova::Kite
