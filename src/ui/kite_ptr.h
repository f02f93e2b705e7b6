// Typed holders of the toolkit's interfaces. Each wrapper is a counted core
// pointer to one interface; every operation on it checks that it holds one
// and turns a failing status into its exception.
//
// The toolkit's references are always counted here: nothing in the windows
// borrows a reference, so the holders need no borrowed flag.
#pragma once

#include <string>

#include "contract/kite_interfaces.h"
#include "core/check_result.h"
#include "core/object_ptr.h"

namespace Nerova::Kite {

using RT::Core::checkResult;
using RT::Core::ObjectPtr;
using RT::Core::StringPtr;

// `source` asked for `I`: empty for a null source, and a failing request
// raises its status. A source of any core interface will do.
template <class I, class Source>
ObjectPtr<I> queryObject(Source* source) {
    ObjectPtr<I> result;
    if (source != nullptr) checkResult(source->queryInterface(I::Id, reinterpret_cast<void**>(result.put())));
    return result;
}

// A text out of a getter that hands out a core string.
template <class Getter>
std::string textFrom(Getter&& getter) {
    StringPtr text;
    checkResult(getter(text.put()));
    return text.toStdString();
}

template <class I>
class ComponentPtr : public ObjectPtr<I> {
public:
    ComponentPtr() noexcept = default;
    // From a pointer of any core interface, asked for `I`.
    template <class Source>
    explicit ComponentPtr(Source* source) : ObjectPtr<I>(queryObject<I>(source)) {}

    // The interface for an operation; an empty holder raises
    // InvalidParameterException with its default text.
    I* required() const {
        if (this->get() == nullptr) throw RT::Core::InvalidParameterException();
        return this->get();
    }

    std::string name() const {
        return textFrom([this](IString** text) { return required()->getName(text); });
    }

protected:
    // Holds `held` from now on, for constructors that find the interface
    // their own way.
    void take(ObjectPtr<I> held) noexcept { this->swap(held); }
};

template <class I>
class ControlPtr : public ComponentPtr<I> {
public:
    using ComponentPtr<I>::ComponentPtr;

    void setHeight(Int height) const { checkResult(this->required()->setHeight(height)); }
    void setHidden(bool hidden) const { checkResult(this->required()->setHidden(hidden ? 1 : 0)); }
};

template <class I>
class ParentControlPtr : public ControlPtr<I> {
public:
    using ControlPtr<I>::ControlPtr;

    // The control of that name anywhere below, asked for `Wanted`; empty
    // when there is none. A control of another type raises the status of
    // the refused request.
    template <class Wanted>
    ObjectPtr<Wanted> findChild(const std::string& name) const {
        I* parent = this->required();
        StringPtr text(name);
        ObjectPtr<IControl> control;
        checkResult(parent->findChild(text.get(), control.put()));
        return queryObject<Wanted>(control.get());
    }
};

template <class I>
class ContentControlPtr : public ParentControlPtr<I> {
public:
    using ParentControlPtr<I>::ParentControlPtr;

    void loadMarkup(const std::string& markup) const {
        I* content = this->required();
        StringPtr text(markup);
        checkResult(content->loadMarkup(text.get()));
    }
};

}  // namespace Nerova::Kite
