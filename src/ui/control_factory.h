// The factory a window offers for controls that markup does not make.
#pragma once

#include <string>

#include "ui/kite_ptr.h"

namespace Nerova::Kite {

class ControlFactory : public ComponentPtr<IControlFactory> {
public:
    using ComponentPtr::ComponentPtr;

    // A new control of the markup type or "Timer"; `name` may be empty.
    ObjectPtr<IComponent> createControl(const std::string& typeName, const std::string& name) const {
        IControlFactory* factory = required();
        StringPtr type(typeName);
        StringPtr named(name);
        ObjectPtr<IComponent> control;
        checkResult(factory->createControl(type.get(), named.get(), control.put()));
        return control;
    }
};

}  // namespace Nerova::Kite
