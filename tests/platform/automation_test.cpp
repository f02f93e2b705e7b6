// The automation semantics the plug-in relies on. The same tests run against
// our Linux layer and, under wine, against the system's implementation.
#include <gtest/gtest.h>

#include "platform/com.h"

namespace {

const OLECHAR kWithNul[] = {'a', 0, 'b', 'c'};

TEST(Bstr, KeepsEmbeddedNulsAndTreatsNullAsEmpty) {
    BSTR text = SysAllocStringLen(kWithNul, 4);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(SysStringLen(text), 4u);
    EXPECT_EQ(SysStringByteLen(text), 8u);
    EXPECT_EQ(text[2], 'b');
    EXPECT_EQ(text[4], 0) << "a BSTR is also NUL-terminated";
    SysFreeString(text);

    EXPECT_EQ(SysStringLen(nullptr), 0u);
    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    SysFreeString(nullptr);
    BSTR empty = SysAllocStringLen(nullptr, 0);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(SysStringLen(empty), 0u);
    SysFreeString(empty);
}

TEST(SafeArray, VectorWithNonZeroLowerBoundReportsItsBoundsAndIndexes) {
    SAFEARRAY* a = SafeArrayCreateVector(VT_I4, 5, 3);
    ASSERT_NE(a, nullptr);
    LONG lower = 0, upper = 0;
    EXPECT_EQ(SafeArrayGetLBound(a, 1, &lower), S_OK);
    EXPECT_EQ(SafeArrayGetUBound(a, 1, &upper), S_OK);
    EXPECT_EQ(lower, 5);
    EXPECT_EQ(upper, 7);
    EXPECT_EQ(SafeArrayGetDim(a), 1u);
    EXPECT_EQ(SafeArrayGetLBound(a, 2, &lower), DISP_E_BADINDEX);

    for (LONG i = 5; i <= 7; ++i) {
        LONG value = i * 10;
        EXPECT_EQ(SafeArrayPutElement(a, &i, &value), S_OK);
    }
    LONG index = 6;
    void* element = nullptr;
    ASSERT_EQ(SafeArrayPtrOfIndex(a, &index, &element), S_OK);
    EXPECT_EQ(*static_cast<LONG*>(element), 60);
    index = 4;
    EXPECT_EQ(SafeArrayPtrOfIndex(a, &index, &element), DISP_E_BADINDEX);
    index = 8;
    EXPECT_EQ(SafeArrayPtrOfIndex(a, &index, &element), DISP_E_BADINDEX);
    EXPECT_EQ(SafeArrayDestroy(a), S_OK);
}

TEST(SafeArray, LockCountRefusesDestroyUntilUnlocked) {
    SAFEARRAY* a = SafeArrayCreateVector(VT_UI1, 0, 4);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(SafeArrayLock(a), S_OK);
    EXPECT_EQ(SafeArrayLock(a), S_OK);
    EXPECT_EQ(SafeArrayDestroy(a), DISP_E_ARRAYISLOCKED);
    EXPECT_EQ(SafeArrayUnlock(a), S_OK);
    EXPECT_EQ(SafeArrayDestroy(a), DISP_E_ARRAYISLOCKED);
    EXPECT_EQ(SafeArrayUnlock(a), S_OK);
    EXPECT_EQ(SafeArrayUnlock(a), E_UNEXPECTED);
    EXPECT_EQ(SafeArrayDestroy(a), S_OK);
}

TEST(SafeArray, ElementTypeIsKeptThroughCopy) {
    for (VARTYPE vt : {VARTYPE(VT_VARIANT), VARTYPE(VT_I4), VARTYPE(VT_UI1), VARTYPE(VT_BSTR)}) {
        SAFEARRAY* a = SafeArrayCreateVector(vt, -2, 2);
        ASSERT_NE(a, nullptr);
        SAFEARRAY* copy = nullptr;
        ASSERT_EQ(SafeArrayCopy(a, &copy), S_OK);
        VARTYPE type = VT_EMPTY;
        EXPECT_EQ(SafeArrayGetVartype(copy, &type), S_OK);
        EXPECT_EQ(type, vt);
        LONG lower = 0;
        SafeArrayGetLBound(copy, 1, &lower);
        EXPECT_EQ(lower, -2);
        SafeArrayDestroy(copy);
        SafeArrayDestroy(a);
    }
}

TEST(SafeArray, TwoDimensionsIndexFirstDimensionFastest) {
    SAFEARRAYBOUND bounds[2] = {{2, 1}, {3, 10}};  // first: 1..2, second: 10..12
    SAFEARRAY* a = SafeArrayCreate(VT_I4, 2, bounds);
    ASSERT_NE(a, nullptr);
    LONG lower = 0;
    SafeArrayGetLBound(a, 2, &lower);
    EXPECT_EQ(lower, 10);
    LONG at[2] = {2, 11};
    LONG value = 42;
    ASSERT_EQ(SafeArrayPutElement(a, at, &value), S_OK);
    EXPECT_EQ(static_cast<LONG*>(a->pvData)[1 + 1 * 2], 42);
    SafeArrayDestroy(a);
}

// A COM object that counts its references, to see who adds and releases.
struct CountedObject : IUnknown {
    ULONG refs = 1;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    virtual ~CountedObject() = default;
};

TEST(Variant, CopyDuplicatesStringsAndArraysAndAddsReferences) {
    CountedObject object;
    VARIANT source, copy;
    VariantInit(&source);
    VariantInit(&copy);

    source.vt = VT_UNKNOWN;
    source.punkVal = &object;
    ASSERT_EQ(VariantCopy(&copy, &source), S_OK);
    EXPECT_EQ(object.refs, 2u);
    EXPECT_EQ(VariantClear(&copy), S_OK);
    EXPECT_EQ(object.refs, 1u);
    EXPECT_EQ(copy.vt, VT_EMPTY);

    const OLECHAR hello[] = {'h', 'i', 0};
    source.vt = VT_BSTR;
    source.bstrVal = SysAllocString(hello);
    ASSERT_EQ(VariantCopy(&copy, &source), S_OK);
    EXPECT_NE(copy.bstrVal, source.bstrVal) << "the copy owns its own string";
    EXPECT_EQ(SysStringLen(copy.bstrVal), 2u);
    VariantClear(&source);
    EXPECT_EQ(copy.bstrVal[1], 'i');

    source.vt = VT_ARRAY | VT_VARIANT;
    source.parray = SafeArrayCreateVector(VT_VARIANT, 0, 1);
    LONG zero = 0;
    VARIANT inner;
    VariantInit(&inner);
    inner.vt = VT_UNKNOWN;
    inner.punkVal = &object;
    SafeArrayPutElement(source.parray, &zero, &inner);
    EXPECT_EQ(object.refs, 2u);
    ASSERT_EQ(VariantCopy(&copy, &source), S_OK);  // also frees the string copy
    EXPECT_NE(copy.parray, source.parray);
    EXPECT_EQ(object.refs, 3u);
    VariantClear(&copy);
    VariantClear(&source);
    EXPECT_EQ(object.refs, 1u);
}

TEST(Variant, ByReferenceIsCopiedAsThePointerAndNotFreed) {
    LONG target = 7;
    VARIANT source, copy;
    VariantInit(&source);
    VariantInit(&copy);
    source.vt = VT_BYREF | VT_I4;
    source.plVal = &target;
    ASSERT_EQ(VariantCopy(&copy, &source), S_OK);
    EXPECT_EQ(copy.plVal, &target);
    EXPECT_EQ(VariantClear(&copy), S_OK);
    EXPECT_EQ(target, 7);
}

TEST(Variant, ClearRefusesALockedArray) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_ARRAY | VT_I4;
    v.parray = SafeArrayCreateVector(VT_I4, 0, 1);
    SafeArrayLock(v.parray);
    EXPECT_EQ(VariantClear(&v), DISP_E_ARRAYISLOCKED);
    SafeArrayUnlock(v.parray);
    EXPECT_EQ(VariantClear(&v), S_OK);
}

TEST(ErrorInfo, BelongsToTheThreadAndIsTakenOnce) {
    ICreateErrorInfo* create = nullptr;
    ASSERT_EQ(CreateErrorInfo(&create), S_OK);
    OLECHAR text[] = {'b', 'a', 'd', 0};
    create->SetDescription(text);
    IErrorInfo* info = nullptr;
    ASSERT_EQ(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)), S_OK);
    create->Release();
    ASSERT_EQ(SetErrorInfo(0, info), S_OK);
    info->Release();

    IErrorInfo* taken = nullptr;
    ASSERT_EQ(GetErrorInfo(0, &taken), S_OK);
    BSTR description = nullptr;
    taken->GetDescription(&description);
    EXPECT_EQ(SysStringLen(description), 3u);
    SysFreeString(description);
    taken->Release();
    EXPECT_EQ(GetErrorInfo(0, &taken), S_FALSE);
    EXPECT_EQ(taken, nullptr);
}

}  // namespace
