#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <utility>

#include "core/intf_object.h"
#include "runtime_extras.h"

namespace {

using namespace Nerova::RT::Core;

struct IProbe : IBaseObject {
    static constexpr IntfID Id = {0x11111111, 0x2222, 0x3333, {4, 4, 5, 5, 6, 6, 7, 7}};
    static constexpr const char* typeName() { return "Nerova::Test::IProbe::nvrtType"; }
    virtual ErrCode poke() = 0;  // 8
};

struct Counters {
    int disposed = 0;
    int destroyed = 0;
};

class Probe final : public IntfObjectImpl<IProbe> {
public:
    explicit Probe(Counters& counters) : counters_(counters) {}
    ~Probe() override { ++counters_.destroyed; }
    ErrCode poke() override { return errOk; }
    std::uint32_t refs() const { return referenceCount(); }

private:
    void internalDispose() override { ++counters_.disposed; }
    Counters& counters_;
};

// Its dispose hook and its own method throw what the test gives it.
class ThrowingProbe final : public IntfObjectImpl<IProbe> {
public:
    ThrowingProbe(std::function<void()> fault, bool& destroyed)
        : fault_(std::move(fault)), destroyed_(destroyed) {}
    ~ThrowingProbe() override { destroyed_ = true; }
    ErrCode poke() override {
        return guarded([this] {
            fault_();
            return errOk;
        });
    }

private:
    void internalDispose() override { fault_(); }
    std::function<void()> fault_;
    bool& destroyed_;
};

constexpr IntfID kOther = {0xDEADBEEF, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}};

TEST(IntfObject, QueryInterfaceAnswersItsThreeIdentifiersAndNothingElse) {
    Counters counters;
    auto probe = createObject<Probe>(counters);
    auto* raw = static_cast<Probe*>(probe.get());
    void* out = nullptr;
    EXPECT_EQ(probe->queryInterface(kOther, nullptr), errArgumentNull);
    EXPECT_EQ(probe->queryInterface(kOther, &out), errNoInterface);
    EXPECT_EQ(raw->refs(), 1u) << "a refused query adds no reference";

    for (const IntfID& id : {IUnknown::Id, IBaseObject::Id, IProbe::Id}) {
        ASSERT_EQ(probe->queryInterface(id, &out), errOk);
        EXPECT_EQ(out, static_cast<IProbe*>(raw));
        probe->release();
    }
    EXPECT_EQ(probe->borrowInterface(IProbe::Id, &out), errOk);
    EXPECT_EQ(raw->refs(), 1u) << "borrowing adds no reference";
}

TEST(IntfObject, LastReleaseDisposesOnceThenDeletes) {
    Counters counters;
    {
        auto probe = createObject<Probe>(counters);
        auto copy = probe;
        EXPECT_EQ(counters.destroyed, 0);
    }
    EXPECT_EQ(counters.disposed, 1);
    EXPECT_EQ(counters.destroyed, 1);

    Counters early;
    {
        auto probe = createObject<Probe>(early);
        EXPECT_EQ(probe->dispose(), errOk);
    }
    EXPECT_EQ(early.disposed, 1) << "an object disposed before its last release is not disposed again";
    EXPECT_EQ(early.destroyed, 1);
}

TEST(IntfObject, EqualsHashAndTextDescribeTheObjectsIdentity) {
    Counters counters;
    auto probe = createObject<Probe>(counters);
    auto other = createObject<Probe>(counters);
    EXPECT_EQ(probe->equals(probe.get()), 0u);
    EXPECT_EQ(probe->equals(other.get()), 1u);
    EXPECT_EQ(probe->equals(nullptr), 1u);

    SizeT hash = 0;
    EXPECT_EQ(probe->getHashCode(nullptr), errArgumentNull);
    EXPECT_EQ(probe->getHashCode(&hash), errOk);
    EXPECT_EQ(hash, reinterpret_cast<SizeT>(static_cast<IProbe*>(probe.get())));
    EXPECT_EQ(probe->toString(nullptr), errArgumentNull);
    CharPtr text = nullptr;
    ASSERT_EQ(probe->toString(&text), errOk);
    EXPECT_STREQ(text, "Nerova::Test::IProbe::nvrtType");
    vexa::test::runtimeExtras().freeMemory(text);
}

TEST(IntfObject, AThrowingHookBecomesAStatusAndTheObjectStillGoes) {
    const struct {
        const char* name;
        std::function<void()> fault;
        ErrCode status;
    } cases[] = {
        {"core exception", [] { throw NotFoundException("gone"); }, errNotFound},
        {"no memory", [] { throw std::bad_alloc(); }, errNoMemory},
        {"standard exception", [] { throw std::runtime_error("broken"); }, errGeneralError},
        {"not an exception class", [] { throw 42; }, errGeneralError},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        bool destroyed = false;
        {
            auto probe = createObject<ThrowingProbe>(c.fault, destroyed);
            EXPECT_EQ(probe->poke(), c.status);
            EXPECT_EQ(probe->dispose(), c.status);
        }
        EXPECT_TRUE(destroyed);
    }
    bool destroyed = false;
    createObject<ThrowingProbe>([] { throw std::runtime_error("at the last release"); }, destroyed);
    EXPECT_TRUE(destroyed) << "the last release disposes, swallows the failure and deletes";
}

TEST(ObjectPtr, CopyAddsAReferenceAndReleaseHandsOneOverWithoutReleasingIt) {
    Counters counters;
    auto probe = createObject<Probe>(counters);
    auto* raw = static_cast<Probe*>(probe.get());
    {
        ObjectPtr<IProbe> copy = probe;
        EXPECT_EQ(raw->refs(), 2u);
        ObjectPtr<IProbe> taken;
        taken.reset(copy.release());
        EXPECT_FALSE(copy);
        EXPECT_EQ(raw->refs(), 2u);
    }
    EXPECT_EQ(raw->refs(), 1u);
    EXPECT_EQ(counters.destroyed, 0);
}

}  // namespace
