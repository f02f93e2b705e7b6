#include <gtest/gtest.h>

#include <thread>

#include "platform/com_error.h"
#include "platform/bstr.h"
#include "platform/variant.h"

namespace {

using vexa::ComError;
using vexa::Bstr;
using vexa::SafeArray;
using vexa::SafeArrayLock;
using vexa::Variant;

HRESULT resultOf(const auto& action) {
    try {
        action();
    } catch (const ComError& e) {
        return e.result();
    }
    return S_OK;
}

TEST(Bstr, CarriesUtf8BothWaysAndMovesOwnership) {
    Bstr text("\xC2\xB5V");  // "µV"
    EXPECT_EQ(text.length(), 2u);
    EXPECT_EQ(text.utf8(), "\xC2\xB5V");
    BSTR raw = text.get();
    Bstr moved = std::move(text);
    EXPECT_EQ(moved.get(), raw);
    EXPECT_EQ(text.get(), nullptr);
    EXPECT_TRUE(text.empty());
    Bstr copy = moved.copy();
    EXPECT_NE(copy.get(), moved.get());
    EXPECT_EQ(copy.utf8(), moved.utf8());
}

TEST(SafeArrayLock, ReadsElementsAtTheArraysOwnBoundsAndUnlocksAtTheEndOfItsScope) {
    SafeArray array(VT_VARIANT, 1, 3);
    for (LONG i = 1; i <= 3; ++i) {
        Variant v = Variant::ofInt32(i * 100);
        ASSERT_EQ(SafeArrayPutElement(array.get(), &i, v.get()), S_OK);
    }
    {
        SafeArrayLock<VARIANT> lock(array.get());
        EXPECT_EQ(lock.lowerBound(), 1);
        EXPECT_EQ(lock.upperBound(), 3);
        EXPECT_EQ(lock.at(3).lVal, 300);
        ASSERT_EQ(lock.elements().size(), 3u);
        EXPECT_EQ(&lock.elements().front(), &lock.at(1)) << "the span starts at the lower bound";
        EXPECT_EQ(array.get()->cLocks, 1u);
        EXPECT_EQ(resultOf([&] { lock.at(0); }), E_INVALIDARG);
        EXPECT_EQ(resultOf([&] { lock.at(4); }), E_INVALIDARG);
    }
    EXPECT_EQ(array.get()->cLocks, 0u);
}

TEST(SafeArrayLock, RefusesWrongElementTypeDimensionsAndNull) {
    SafeArray ints(VT_I4, 0, 2);
    EXPECT_EQ(resultOf([&] { SafeArrayLock<VARIANT> lock(ints.get()); }), E_INVALIDARG);
    EXPECT_EQ(ints.get()->cLocks, 0u) << "a refused scope leaves no lock behind";
    EXPECT_EQ(resultOf([&] { SafeArrayLock<BYTE> lock(ints.get()); }), E_INVALIDARG);
    EXPECT_EQ(resultOf([&] { SafeArrayLock<VARIANT> lock(nullptr); }), E_INVALIDARG);

    SAFEARRAYBOUND bounds[2] = {{2, 0}, {2, 0}};
    SafeArray square(SafeArrayCreate(VT_VARIANT, 2, bounds));
    EXPECT_EQ(resultOf([&] { SafeArrayLock<VARIANT> lock(square.get()); }), E_INVALIDARG);
}

// The verbs every owner shares, checked on the SAFEARRAY owner; a double
// free or a leak here shows up under the sanitizer presets.
TEST(Owners, PutResetAndReleaseHandOverOwnershipExactlyOnce) {
    SafeArray owner(VT_I4, 0, 1);
    SAFEARRAY* first = owner.get();
    SafeArray other(VT_I4, 0, 1);
    SAFEARRAY* second = other.get();
    owner.swap(other);
    EXPECT_EQ(owner.get(), second);
    EXPECT_EQ(other.get(), first);

    SAFEARRAY* given = owner.release();
    EXPECT_FALSE(owner) << "released: nothing left to free";
    owner.reset(given);
    EXPECT_EQ(owner.get(), given);
    *owner.put() = first;  // put() frees `given`; the slot takes `first`
    EXPECT_EQ(other.release(), first);
    EXPECT_EQ(owner.get(), first);
    owner = std::move(other);
    EXPECT_FALSE(owner) << "moving an empty owner in frees what was held";
}

// An object that says it supports rich error information for one interface.
struct Reporter : ISupportErrorInfo {
    IID supported = IID_IDispatch;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == IID_ISupportErrorInfo) {
            *out = static_cast<ISupportErrorInfo*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override {
        return riid == supported ? S_OK : S_FALSE;
    }
    virtual ~Reporter() = default;
};

void publishError(const char* text) {
    vexa::ComPtr<ICreateErrorInfo> create;
    ASSERT_EQ(CreateErrorInfo(create.put()), S_OK);
    vexa::WideString wide = vexa::utf8ToWide(text);
    create->SetDescription(wide.data());
    auto info = create.tryQuery<IErrorInfo>();
    SetErrorInfo(0, info.get());
}

TEST(CheckCall, AttachesTheThreadsErrorInfoWhenTheObjectOffersIt) {
    Reporter reporter;
    publishError("device table is full");
    try {
        vexa::checkCall(E_FAIL, &reporter, IID_IDispatch);
        FAIL() << "a failing result must raise";
    } catch (const ComError& e) {
        EXPECT_EQ(e.result(), E_FAIL);
        EXPECT_TRUE(e.iid() == IID_IDispatch);
        EXPECT_EQ(e.message(), "device table is full");
    }
}

TEST(CheckCall, IgnoresErrorInfoForInterfacesTheObjectDoesNotSupport) {
    Reporter reporter;
    publishError("stale text");
    try {
        vexa::checkCall(E_INVALIDARG, &reporter, IID_IUnknown);
        FAIL();
    } catch (const ComError& e) {
        EXPECT_FALSE(e.errorInfo());
        // The result, and on Windows the system's words for it; never the stale text.
        EXPECT_EQ(e.message().rfind("COM error 0x80070057", 0), 0u) << e.message();
        EXPECT_EQ(e.message().find("stale"), std::string::npos);
    }
    SetErrorInfo(0, nullptr);
    EXPECT_NO_THROW(vexa::checkCall(S_FALSE, &reporter, IID_IUnknown));
    IDispatch* none = nullptr;
    EXPECT_EQ(resultOf([&] { vexa::required(none); }), E_POINTER);
}

TEST(Int32Array, TravelsAsAnIntegerVectorAndIsReadAtItsOwnBounds) {
    const std::int32_t values[] = {4, -1, 7};
    Variant list = Variant::ofInt32Array(values);
    EXPECT_EQ(list.type(), VT_ARRAY | VT_I4);
    EXPECT_EQ(vexa::int32ArrayOf(*list.get()), (std::vector<std::int32_t>{4, -1, 7}));

    SafeArray shifted(VT_I4, 3, 2);
    for (LONG i = 3; i <= 4; ++i) SafeArrayPutElement(shifted.get(), &i, &i);
    Variant fromThree = Variant::ofArray(std::move(shifted));
    EXPECT_EQ(vexa::int32ArrayOf(*fromThree.get()), (std::vector<std::int32_t>{3, 4}));

    Variant bytes = Variant::ofArray(SafeArray(VT_UI1, 0, 2));
    EXPECT_EQ(resultOf([&] { vexa::int32ArrayOf(*bytes.get()); }), E_INVALIDARG);
}

TEST(ComPtr, QueryRaisesWhatIsMissingWhereTryQueryAnswersEmpty) {
    struct Case {
        bool object;
        IID wanted;
        HRESULT raised;
    };
    Reporter reporter;
    const Case cases[] = {
        {true, IID_ISupportErrorInfo, S_OK},
        {true, IID_IDispatch, E_NOINTERFACE},
        {false, IID_ISupportErrorInfo, E_POINTER},
    };
    for (const Case& c : cases) {
        vexa::ComPtr<IUnknown> object(c.object ? static_cast<IUnknown*>(&reporter) : nullptr);
        const HRESULT raised = IsEqualIID(c.wanted, IID_IDispatch)
                                   ? resultOf([&] { object.query<IDispatch>(); })
                                   : resultOf([&] { object.query<ISupportErrorInfo>(); });
        EXPECT_EQ(raised, c.raised);
        const bool found = IsEqualIID(c.wanted, IID_IDispatch) ? bool(object.tryQuery<IDispatch>())
                                                                : bool(object.tryQuery<ISupportErrorInfo>());
        EXPECT_EQ(found, c.raised == S_OK);
    }
}

}  // namespace
