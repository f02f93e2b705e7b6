#include "support/raw_com.h"

#include <sstream>
#include <stdexcept>
#include <utility>

namespace raw {
namespace {

// Slots nobody configured record the call and answer S_OK without touching
// any argument.
template <int N>
HRESULT STDMETHODCALLTYPE recordingStub(Object* self) {
    self->record(N);
    return S_OK;
}

template <std::size_t... N>
constexpr std::array<void*, maxSlots> recordingTable(std::index_sequence<N...>) {
    return {reinterpret_cast<void*>(&recordingStub<static_cast<int>(N)>)...};
}

}  // namespace

Object::Object(World& world, std::string name)
    : table_(recordingTable(std::make_index_sequence<maxSlots>())),
      world_(world),
      name_(std::move(name)) {
    table_[0] = reinterpret_cast<void*>(&queryInterface);
    table_[1] = reinterpret_cast<void*>(&addRefSlot);
    table_[2] = reinterpret_cast<void*>(&releaseSlot);
    vtable_ = table_.data();
}

Object& Object::offers(const IID& iid, Object* target) {
    offered_.emplace_back(iid, target != nullptr ? target : this);
    return *this;
}

void Object::record(int slot) { world_.add({name_, slot}); }

HRESULT STDMETHODCALLTYPE Object::queryInterface(Object* self, REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    Object* answer = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ? self : nullptr;
    for (const auto& [offered, target] : self->offered_) {
        if (answer == nullptr && IsEqualIID(iid, offered)) answer = target;
    }
    *object = answer != nullptr ? answer->addRef() : nullptr;
    return answer != nullptr ? S_OK : E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE Object::addRefSlot(Object* self) { return static_cast<ULONG>(++self->references_); }

ULONG STDMETHODCALLTYPE Object::releaseSlot(Object* self) {
    // The world keeps the last reference; a release below it is a fault of
    // the caller that a real object would not survive.
    if (self->references_ <= 1) {
        self->world_.fault(self->name_ + " released once too often");
        return 0;
    }
    if (--self->references_ == 1) self->world_.released(*self);
    return static_cast<ULONG>(self->references_);
}

Object& World::operator[](const std::string& name) {
    for (Object& object : objects_) {
        if (object.name() == name) return object;
    }
    throw std::out_of_range("no raw object " + name);
}

std::string describe(const std::vector<Call>& calls) {
    std::ostringstream text;
    std::string last;
    for (const Call& call : calls) {
        if (call.object != last) {
            if (!last.empty()) text << "; ";
            text << call.object << ":";
            last = call.object;
        }
        text << " " << call.slot;
    }
    return text.str();
}

}  // namespace raw
