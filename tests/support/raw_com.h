// COM objects made of nothing but numbered slots, for checking that calls
// land where a real peer expects them. A raw object's vtable is an array of
// stubs that each record their own index; a test may put a typed handler in
// any slot, written from the peer's description of that method rather than
// from our declarations. The object knows none of our interface types, so it
// cannot share a mistake with them.
#pragma once

#include <array>
#include <cstddef>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "platform/com.h"

namespace raw {

// One call that reached a raw object: its name and the slot number.
struct Call {
    std::string object;
    int slot;
    bool operator==(const Call&) const = default;
};

class World;

inline constexpr int maxSlots = 256;

class Object {
public:
    Object(World& world, std::string name);
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    // The object as a COM pointer: its first member is the vtable pointer.
    IUnknown* unknown() noexcept { return reinterpret_cast<IUnknown*>(this); }
    template <class T>
    T* as() noexcept {
        return reinterpret_cast<T*>(this);
    }
    // Hands out one more reference, as a method that returns the object does.
    IUnknown* addRef() noexcept {
        ++references_;
        return unknown();
    }

    // QueryInterface answers `target` (this object when null) for the
    // identifier; IUnknown and IDispatch are always answered by this object.
    Object& offers(const IID& iid, Object* target = nullptr);

    // Puts `Handler`, a function taking (Object&, the method's arguments...),
    // into slot `Slot`; the call is recorded before the handler runs.
    template <int Slot, auto Handler>
    Object& on();

    const std::string& name() const noexcept { return name_; }
    World& world() noexcept { return world_; }
    // References beyond the one the world keeps.
    long references() const noexcept { return references_ - 1; }

    void record(int slot);

private:
    template <int Slot, class F, F Handler>
    struct Typed;

    static HRESULT STDMETHODCALLTYPE queryInterface(Object* self, REFIID iid, void** object);
    static ULONG STDMETHODCALLTYPE addRefSlot(Object* self);
    static ULONG STDMETHODCALLTYPE releaseSlot(Object* self);

    void* const* vtable_ = nullptr;  // must stay the first member
    std::array<void*, maxSlots> table_;
    World& world_;
    std::string name_;
    std::vector<std::pair<IID, Object*>> offered_;
    long references_ = 1;
};

// The raw objects of one test and the calls they received, in order.
class World {
public:
    Object& make(std::string name) { return objects_.emplace_back(*this, std::move(name)); }
    Object& operator[](const std::string& name);

    const std::vector<Call>& calls() const noexcept { return calls_; }
    // The calls since the last take, which forgets them.
    std::vector<Call> take() { return std::exchange(calls_, {}); }
    void add(Call call) { calls_.push_back(std::move(call)); }

    // The objects whose last reference held by others went, in that order.
    const std::vector<std::string>& finalReleases() const noexcept { return finalReleases_; }
    void released(const Object& object) { finalReleases_.push_back(object.name()); }

    // What a real object would not have survived (a release too many).
    const std::vector<std::string>& faults() const noexcept { return faults_; }
    void fault(std::string what) { faults_.push_back(std::move(what)); }

private:
    std::deque<Object> objects_;  // stable addresses
    std::vector<Call> calls_;
    std::vector<std::string> finalReleases_;
    std::vector<std::string> faults_;
};

template <int Slot, class... A, HRESULT (*Handler)(Object&, A...)>
struct Object::Typed<Slot, HRESULT (*)(Object&, A...), Handler> {
    static HRESULT STDMETHODCALLTYPE call(Object* self, A... args) {
        self->record(Slot);
        return Handler(*self, args...);
    }
};

template <int Slot, auto Handler>
Object& Object::on() {
    static_assert(Slot >= 3 && Slot < maxSlots);
    table_[Slot] = reinterpret_cast<void*>(&Typed<Slot, decltype(Handler), Handler>::call);
    return *this;
}

// The calls as text, one group per run of calls on the same object:
// "app: 7; data: 7 10".
std::string describe(const std::vector<Call>& calls);

// Calls slot `slot` of `object` with the arguments as given, the way a peer
// that knows only positions does.
template <class... Args>
HRESULT callSlot(IUnknown* object, int slot, Args... args) {
    using Method = HRESULT(STDMETHODCALLTYPE*)(IUnknown*, Args...);
    void* const* vtable = *reinterpret_cast<void* const* const*>(object);
    return reinterpret_cast<Method>(vtable[slot])(object, args...);
}

}  // namespace raw
