// The numbered host events: the answer-only table, the document events
// with their argument checks, and how null pointers and values held by
// reference are taken.
#include "contract/plugin_interfaces.h"
#include "host/kite/toolkit.h"
#include "host/window_session.h"
#include "support/plugin_test_support.h"

namespace plugin_test {
namespace {

using vexa::SafeArray;

// A result the plug-in must not touch unless the event says so.
Variant untouchedResult() { return Variant::ofInt32(0x5A5A); }

void expectUntouched(const Variant& result) {
    EXPECT_EQ(result.type(), VT_I4);
    EXPECT_EQ(result.get()->lVal, 0x5A5A);
}

HRESULT sendEvent(const PluginDriver& plugin, HostEventId id, Variant& argument, Variant& result) {
    return plugin.event(id, *argument.get(), *result.get());
}

TEST_F(PluginTest, EventsOutsideTheTableAnswerSFalseAndChangeNothing) {
    for (HostEventId id : {-1, 0, 104, 106, 111, 130, 156, 160, 183, 184, 187, 1000}) {
        Variant argument;
        Variant result = untouchedResult();
        EXPECT_EQ(sendEvent(plugin, id, argument, result), S_FALSE) << "event " << id;
        expectUntouched(result);
    }
    Variant argument;
    Variant result = untouchedResult();
    EXPECT_EQ(sendEvent(plugin, HostEvent::Reconfigure, argument, result), S_FALSE)
        << "even with every device read";
    expectUntouched(result);
}

TEST_F(PluginTest, AnswerOnlyEventsWriteOnlyWhatTheHostReads) {
    for (HostEventId id : {113, 129, 133, 134, 154, 155}) {
        Variant argument;
        Variant result = untouchedResult();
        EXPECT_EQ(sendEvent(plugin, id, argument, result), S_OK) << "event " << id;
        expectUntouched(result);
    }
    for (const auto& [id, value] : {std::pair{HostEvent::Event110, 0xFFFF}, std::pair{HostEvent::Event169, 1},
                                    std::pair{HostEvent::Event178, 3}}) {
        Variant argument;
        Variant result = Variant::ofInt32(0);
        ASSERT_EQ(sendEvent(plugin, id, argument, result), S_OK);
        EXPECT_EQ(result.type(), VT_I4) << "only the value is written";
        EXPECT_EQ(result.get()->lVal, value) << "event " << id;
    }
    Variant argument;
    Variant result = Variant::ofInt32(-1);
    ASSERT_EQ(sendEvent(plugin, HostEvent::Event173, argument, result), S_OK);
    EXPECT_EQ(result.type(), VT_BOOL);
    EXPECT_EQ(result.get()->boolVal, VARIANT_FALSE);
}

class DocumentEventTest : public PluginTest {
protected:
    void SetUp() override { ASSERT_EQ(initialize(), S_OK); }

    // An array of `count` VARIANTs from `lowerBound`, holding at indices 0, 1
    // and 2 (where those exist) the document, the element and the flag.
    Variant documentArray(LONG lowerBound, ULONG count, VARIANT_BOOL saving = VARIANT_TRUE,
                          IDispatch* atZero = nullptr, IDispatch* atOne = nullptr) {
        if (atZero == nullptr) atZero = document.get();
        if (atOne == nullptr) atOne = element.get();
        SafeArray array(VT_VARIANT, lowerBound, count);
        for (LONG index = lowerBound; index < lowerBound + static_cast<LONG>(count); ++index) {
            Variant value = index == 0   ? Variant::ofDispatch(atZero)
                            : index == 1 ? Variant::ofDispatch(atOne)
                            : index == 2 ? Variant::ofBool(false)
                                         : Variant::ofInt32(0);
            if (index == 2) value.get()->boolVal = saving;
            EXPECT_EQ(SafeArrayPutElement(array.get(), &index, value.get()), S_OK);
        }
        return Variant::ofArray(std::move(array));
    }

    // A mode no event sets, to see whether an event reached the document.
    static constexpr LONG untouchedMode = 7;

    ComPtr<XmlDocumentObject> document = makeDocument();
    ComPtr<XmlElementObject> element{&document->root()};

private:
    static ComPtr<XmlDocumentObject> makeDocument() {
        auto made = XmlDocumentObject::create("Setup");
        made->setMode(untouchedMode);
        return made;
    }
};

TEST_F(DocumentEventTest, MalformedArgumentsAreInvalid) {
    Variant result;
    Variant noArray;
    EXPECT_EQ(sendEvent(plugin, HostEvent::SetupDocument, noArray, result), E_INVALIDARG);
    Variant notAnArray = Variant::ofUnknown(document.get());
    EXPECT_EQ(sendEvent(plugin, HostEvent::SettingsDocument, notAnArray, result), E_INVALIDARG);
    Variant integers = Variant::ofArray(SafeArray(VT_I4, 0, 4));
    EXPECT_EQ(sendEvent(plugin, HostEvent::SetupDocument, integers, result), E_INVALIDARG);
    EXPECT_EQ(sendEvent(plugin, HostEvent::Event157, integers, result), E_INVALIDARG);

    Variant threeElements = documentArray(0, 3);
    EXPECT_EQ(sendEvent(plugin, HostEvent::SetupDocument, threeElements, result), E_INVALIDARG)
        << "the setup event needs index 3";
    Variant twoElements = documentArray(0, 2);
    EXPECT_EQ(sendEvent(plugin, HostEvent::SettingsDocument, twoElements, result), E_INVALIDARG);
    Variant fromOne = documentArray(1, 4);
    EXPECT_EQ(sendEvent(plugin, HostEvent::SettingsDocument, fromOne, result), E_INVALIDARG)
        << "index 0 lies below the array";
    EXPECT_EQ(sendEvent(plugin, HostEvent::Event157, fromOne, result), E_INVALIDARG);
    EXPECT_EQ(result.type(), VT_EMPTY) << "a refused event writes no result";
    EXPECT_EQ(document->mode(), untouchedMode);
}

TEST_F(DocumentEventTest, IndicesAreTheArraysOwnWhateverItsLowerBound) {
    Variant fromMinusOne = documentArray(-1, 5);
    Variant result;
    EXPECT_EQ(sendEvent(plugin, HostEvent::SetupDocument, fromMinusOne, result), S_OK);
    EXPECT_EQ(document->mode(), XmlDocumentObject::writing);
    Variant settings = documentArray(0, 3);
    EXPECT_EQ(sendEvent(plugin, HostEvent::SettingsDocument, settings, result), S_OK)
        << "the settings event needs no index 3";
    EXPECT_EQ(sendEvent(plugin, HostEvent::Event157, settings, result), S_OK);
    EXPECT_EQ(settings.get()->parray->cLocks, 0u) << "the host's array is left unlocked";
}

TEST_F(DocumentEventTest, OnlyExactlyFFFFMeansSaving) {
    Variant result;
    for (VARIANT_BOOL flag : {VARIANT_BOOL{1}, VARIANT_BOOL{0}, VARIANT_BOOL{-2}, VARIANT_TRUE}) {
        Variant argument = documentArray(0, 4, flag);
        EXPECT_EQ(sendEvent(plugin, HostEvent::SetupDocument, argument, result), S_OK);
        EXPECT_EQ(document->mode(), flag == VARIANT_TRUE ? XmlDocumentObject::writing : XmlDocumentObject::reading)
            << "flag " << flag;
    }
}

TEST_F(DocumentEventTest, HostMode2AnswersAtOnceWithoutTouchingTheResult) {
    app->setHostMode(2);
    Variant noArray;
    Variant result = untouchedResult();
    EXPECT_EQ(sendEvent(plugin, HostEvent::SetupDocument, noArray, result), S_OK);
    expectUntouched(result);
    Variant argument = documentArray(0, 4);
    EXPECT_EQ(sendEvent(plugin, HostEvent::SettingsDocument, argument, result), S_OK);
    expectUntouched(result);
    EXPECT_EQ(document->mode(), untouchedMode);
}

TEST_F(DocumentEventTest, SetupEventAnswersAndAlwaysLeavesVtUi4One) {
    Variant result;
    EXPECT_EQ(plugin.documentEvent(HostEvent::SetupDocument, document.get(), element.get(), true, result), S_OK);
    EXPECT_EQ(result.type(), VT_UI4);
    EXPECT_EQ(result.get()->ulVal, 1u);

    result = untouchedResult();
    EXPECT_EQ(plugin.documentEvent(HostEvent::SetupDocument, document.get(), nullptr, true, result), S_FALSE)
        << "saving without an element";
    EXPECT_EQ(result.type(), VT_UI4);

    // Loading from an element that is not one: the channels are unbound and
    // the setup reset, and the load is closed so that the next one works.
    for (int load = 0; load < 2; ++load) {
        Variant argument = documentArray(0, 4, VARIANT_FALSE, document.get(), document.get());
        result = untouchedResult();
        EXPECT_EQ(sendEvent(plugin, HostEvent::SetupDocument, argument, result), S_OK);
        EXPECT_EQ(result.type(), VT_UI4);
    }
    EXPECT_EQ(plugin.documentEvent(HostEvent::SettingsDocument, document.get(), element.get(), false, result), S_OK);
    EXPECT_EQ(result.get()->ulVal, 1u);
    EXPECT_TRUE(app->reportedErrors().empty());
}

TEST_F(DocumentEventTest, ADocumentThatIsNoneIsReportedAndFails) {
    Variant argument = documentArray(0, 4, VARIANT_TRUE, element.get(), element.get());
    Variant result;
    EXPECT_EQ(sendEvent(plugin, HostEvent::SetupDocument, argument, result), E_FAIL);
    EXPECT_EQ(app->reportedErrors(), std::vector<std::string>{"NCOM document is not set!"});
    EXPECT_EQ(result.type(), VT_EMPTY);
}

TEST_F(DocumentEventTest, ASetupThatFailsToLoadDoesNotBlockTheNextLoad) {
    auto broken = XmlDocumentObject::parse("<Setup><OutputList><ColorCounter>many</ColorCounter></OutputList></Setup>");
    ComPtr<XmlElementObject> brokenRoot{&broken->root()};
    Variant result;
    EXPECT_EQ(plugin.documentEvent(HostEvent::SetupDocument, broken.get(), brokenRoot.get(), false, result), E_FAIL);
    ASSERT_EQ(app->reportedErrors().size(), 1u);

    EXPECT_EQ(plugin.documentEvent(HostEvent::SetupDocument, document.get(), element.get(), false, result), S_OK);
    EXPECT_EQ(app->reportedErrors().size(), 1u) << "the next load is not refused for an open load";
}

struct PointerCase {
    HostEventId id;
    bool argumentGiven;
    bool resultGiven;
    HRESULT answer;
};

// What the host gets for null pointers: only the events that write a result
// need one, and only events that read the argument care about it.
TEST_F(DocumentEventTest, NullPointersAreAnsweredByWhatTheEventUses) {
    const PointerCase cases[] = {
        {113, false, false, S_OK},         {129, false, false, S_OK},         {155, false, false, S_OK},
        {106, false, false, S_FALSE},      {1000, false, false, S_FALSE},     {105, false, false, S_FALSE},
        {110, true, false, E_POINTER},     {169, true, false, E_POINTER},     {173, true, false, E_POINTER},
        {178, true, false, E_POINTER},     {110, false, true, S_OK},          {178, false, true, S_OK},
        {157, false, true, E_INVALIDARG},  {157, false, false, E_INVALIDARG}, {158, false, true, E_INVALIDARG},
        {159, false, true, E_INVALIDARG},  {158, true, false, E_POINTER},     {159, true, false, E_POINTER},
        {158, false, false, E_POINTER},    {179, false, true, E_FAIL},        {181, false, false, E_FAIL},
        {185, false, false, S_OK},         {180, false, false, S_OK},         {182, false, false, S_OK},
        {186, false, false, S_OK},
    };
    for (const PointerCase& c : cases) {
        SCOPED_TRACE("event " + std::to_string(c.id) + (c.argumentGiven ? " with" : " without") + " argument," +
                     (c.resultGiven ? " with" : " without") + " result");
        const bool documentEvent = c.id == HostEvent::SetupDocument || c.id == HostEvent::SettingsDocument;
        Variant argument = documentEvent ? documentArray(0, 4) : Variant();
        Variant result = untouchedResult();
        const std::size_t reportsBefore = app->reportedErrors().size();
        EXPECT_EQ(plugin.events()->ProcessEvent(c.id, c.argumentGiven ? argument.get() : nullptr,
                                                c.resultGiven ? result.get() : nullptr),
                  c.answer);
        if (c.answer != S_OK) expectUntouched(result);
        EXPECT_EQ(document->mode(), untouchedMode) << "nothing was loaded or saved";
        // Only a window that cannot be made is reported.
        EXPECT_EQ(app->reportedErrors().size(), reportsBefore + (c.answer == E_FAIL ? 1 : 0));
    }
    app->setHostMode(2);
    EXPECT_EQ(plugin.events()->ProcessEvent(HostEvent::SetupDocument, nullptr, nullptr), S_OK)
        << "in host mode 2 the document events use neither pointer";
}

// A VARIANT that refers to `target` as `vt` by reference.
VARIANT byReference(VARTYPE vt, void* target) {
    VARIANT value;
    VariantInit(&value);
    value.vt = static_cast<VARTYPE>(vt | VT_BYREF);
    value.byref = target;
    return value;
}

// The setup event's array with the given elements at indices 0 to 2 (they
// are copied in: the array takes its own references, as the host's does).
Variant setupArgument(VARIANT document, VARIANT element, VARIANT saving) {
    SafeArray array(VT_VARIANT, 0, 4);
    VARIANT elements[] = {document, element, saving, *Variant::ofInt32(0).get()};
    for (LONG index = 0; index < 4; ++index)
        EXPECT_EQ(SafeArrayPutElement(array.get(), &index, &elements[index]), S_OK);
    return Variant::ofArray(std::move(array));
}

struct ByReferenceCase {
    const char* name;
    Variant argument;
    HRESULT answer;
    LONG mode;  // the direction the document was given
};

TEST_F(DocumentEventTest, ValuesHeldByReferenceAreReadThroughTheirPointers) {
    IUnknown* documentObject = document.get();
    IDispatch* elementObject = element.get();
    IUnknown* noObject = nullptr;
    VARIANT_BOOL saving = VARIANT_TRUE;
    Variant documentValue = Variant::ofUnknown(documentObject);
    Variant elementValue = Variant::ofDispatch(elementObject);
    Variant savingValue = Variant::ofBool(true);
    // An integer with the bits of VARIANT_TRUE is not a boolean.
    Variant notABoolean = Variant::ofInt16(-1);

    const VARIANT documentRef = byReference(VT_UNKNOWN, &documentObject);
    const VARIANT elementRef = byReference(VT_DISPATCH, &elementObject);
    const VARIANT savingRef = byReference(VT_BOOL, &saving);
    ByReferenceCase cases[] = {
        {"by reference", setupArgument(documentRef, elementRef, savingRef), S_OK, XmlDocumentObject::writing},
        {"through a VARIANT reference",
         setupArgument(byReference(VT_VARIANT, documentValue.get()), byReference(VT_VARIANT, elementValue.get()),
                       byReference(VT_VARIANT, savingValue.get())),
         S_OK, XmlDocumentObject::writing},
        {"element referring to null", setupArgument(documentRef, byReference(VT_UNKNOWN, &noObject), savingRef),
         S_FALSE, XmlDocumentObject::writing},
        {"element as a null reference", setupArgument(documentRef, byReference(VT_DISPATCH, nullptr), savingRef),
         S_FALSE, XmlDocumentObject::writing},
        {"flag as a null reference", setupArgument(documentRef, elementRef, byReference(VT_BOOL, nullptr)), S_OK,
         XmlDocumentObject::reading},
        {"flag that is no boolean", setupArgument(documentRef, elementRef, *notABoolean.get()), S_OK,
         XmlDocumentObject::reading},
    };
    for (ByReferenceCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(element->ClearChildren(), S_OK);
        document->setMode(untouchedMode);
        Variant result;
        EXPECT_EQ(sendEvent(plugin, HostEvent::SetupDocument, c.argument, result), c.answer);
        EXPECT_EQ(document->mode(), c.mode);
        const bool saved = c.answer == S_OK && c.mode == XmlDocumentObject::writing;
        EXPECT_EQ(element->findChild("OutputList") != nullptr, saved) << "the setup went into the element";
    }

    // The array itself may come by reference as well.
    Variant direct = setupArgument(*documentValue.get(), *elementValue.get(), *savingValue.get());
    SAFEARRAY* array = direct.get()->parray;
    SAFEARRAY* noArray = nullptr;
    Variant result;
    for (auto [reference, answer] : {std::pair{byReference(VT_ARRAY | VT_VARIANT, &array), S_OK},
                                     std::pair{byReference(VT_ARRAY | VT_VARIANT, &noArray), E_INVALIDARG},
                                     std::pair{byReference(VT_ARRAY | VT_VARIANT, nullptr), E_INVALIDARG}}) {
        EXPECT_EQ(plugin.event(HostEvent::SetupDocument, reference, *result.get()), answer);
        EXPECT_EQ(plugin.event(HostEvent::Event157, reference, *result.get()), answer);
    }
    EXPECT_EQ(array->cLocks, 0u);

    // So may the host window of a create event.
    vexa::kite::UiClock clock;
    auto hostWindow = vexa::kite::make<vexa::kite::Window>(clock);
    IUnknown* windowObject = vexa::host::asComUnknown(*hostWindow);
    VARIANT window = byReference(VT_UNKNOWN, &windowObject);
    EXPECT_EQ(plugin.event(HostEvent::CreateSettingsWindow, window, *result.get()), S_OK);
    EXPECT_NE(hostWindow->find("deviceNVDrawGrid"), nullptr);
    VARIANT noWindow = byReference(VT_DISPATCH, &noObject);
    EXPECT_EQ(plugin.event(HostEvent::CreateSettingsWindow, noWindow, *result.get()), E_FAIL);
    EXPECT_EQ(app->reportedErrors(), std::vector<std::string>{"Window must not be null."});
    hostWindow->drop();
}

TEST(DocumentEventWithoutHost, NeedsInitializeFirst) {
    PluginDriver plugin(loadedModule().createPlugin());
    Variant result;
    EXPECT_EQ(plugin.documentEvent(HostEvent::SetupDocument, nullptr, nullptr, true, result), E_POINTER);
    EXPECT_EQ(plugin.documentEvent(HostEvent::SettingsDocument, nullptr, nullptr, false, result), E_POINTER);
}

}  // namespace
}  // namespace plugin_test
