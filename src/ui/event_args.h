// What the toolkit hands a handler along with the sender: the event's
// arguments, typed for the event.
#pragma once

#include <string>

#include "ui/kite_ptr.h"

namespace Nerova::Kite {

// Wraps the arguments object the toolkit passed, as the interface of the
// event it was passed for: the toolkit gives each event its own kind of
// arguments, so no request is made.
template <class I>
class EventArgsPtr : public ObjectPtr<I> {
public:
    EventArgsPtr() noexcept = default;
    explicit EventArgsPtr(IEventArgs* args) {
        if (args != nullptr) {
            args->addRef();
            this->reset(static_cast<I*>(args));
        }
    }

    I* required() const {
        if (this->get() == nullptr) throw RT::Core::InvalidParameterException();
        return this->get();
    }
};

using EventArgs = EventArgsPtr<IEventArgs>;

// Every grid event concerns one cell; row 0 is the header row.
template <class I>
class DrawGridEventArgsPtr : public EventArgsPtr<I> {
public:
    using EventArgsPtr<I>::EventArgsPtr;

    Int row() const {
        Int value = 0;
        checkResult(this->required()->getRow(&value));
        return value;
    }
    Int column() const {
        Int value = 0;
        checkResult(this->required()->getColumn(&value));
        return value;
    }
};

using DrawGridEventArgs = DrawGridEventArgsPtr<IDrawGridEventArgs>;

class DrawGridCellPropsArgs : public DrawGridEventArgsPtr<IDrawGridCellPropsArgs> {
public:
    using DrawGridEventArgsPtr::DrawGridEventArgsPtr;

    void setText(const std::string& text) const {
        auto* args = required();
        StringPtr value(text);
        checkResult(args->setText(value.get()));
    }
    void setNumber(Float number) const { checkResult(required()->setNumber(number)); }
    void setColor(Color color) const { checkResult(required()->setColor(color)); }
};

class DrawGridCellInputArgs : public DrawGridEventArgsPtr<IDrawGridCellInputArgs> {
public:
    using DrawGridEventArgsPtr::DrawGridEventArgsPtr;

    std::string inputText() const {
        return textFrom([this](IString** text) { return required()->getInputText(text); });
    }
    Color inputColor() const {
        Color color = 0;
        checkResult(required()->getInputColor(&color));
        return color;
    }
};

class DrawGridCellActionEventArgs : public DrawGridEventArgsPtr<IDrawGridCellActionEventArgs> {
public:
    using DrawGridEventArgsPtr::DrawGridEventArgsPtr;

    Int checkState() const {
        Int state = 0;
        checkResult(required()->getCheckState(&state));
        return state;
    }
};

class DrawGridLiveValueArgs : public DrawGridEventArgsPtr<IDrawGridLiveValueArgs> {
public:
    using DrawGridEventArgsPtr::DrawGridEventArgsPtr;

    void setText(const std::string& text) const {
        auto* args = required();
        StringPtr value(text);
        checkResult(args->setText(value.get()));
    }
    void setValue(Float value) const { checkResult(required()->setValue(value)); }
    void setPeak(Float peak) const { checkResult(required()->setPeak(peak)); }
    void setKind(LiveValueKind kind) const { checkResult(required()->setKind(static_cast<Int>(kind))); }
};

}  // namespace Nerova::Kite
