// What a screen reader reads of the window, through the route it takes: the object the window
// hands out for its client area (AccessibleObjectFromWindow), in-process and from another
// process.
#include "registry_test_support.h"
#include "running_program.h"
#include "test_support.h"
#include "window/form1.h"
#include "window/language.h"

#include <oleacc.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <new>
#include <set>
#include <string>
#include <vector>

namespace {

using Microsoft::WRL::ComPtr;
using namespace std::chrono_literals;
using testing_support::ReadTextFile;

// A child of the client area in reading order, the state it reports, and the box it is drawn in
// (client pixels at 96 DPI). Role 0 marks a push button window, read through the system's own
// object: under Wine that object gives no name, role or state, so only its presence and place
// are checked.
struct ExpectedChild {
    std::wstring english;
    std::wstring romanian;
    long role;
    long state;
    const wchar_t* defaultAction;
    RECT box;
};

const auto& kEnglish = kEnglishTexts;
const auto& kRomanian = kRomanianTexts;
constexpr long kText = ROLE_SYSTEM_STATICTEXT;
constexpr long kButton = ROLE_SYSTEM_PUSHBUTTON;
constexpr long kReadOnly = STATE_SYSTEM_READONLY;

// clang-format off
const ExpectedChild kChildren[] = {
    {L"Brevane Twinova",      L"Brevane Twinova",      kText,            kReadOnly, nullptr,  {8, 8, 137, 33}},
    {L"Minimise",             L"Minimizeaza",          kButton,          0,         L"Press", {128, 0, 161, 25}},
    {L"Close",                L"Inchide",              kButton,          0,         L"Press", {168, 0, 201, 25}},
    {kEnglish.instruction,    kRomanian.instruction,   kText,            kReadOnly, nullptr,  {256, 8, 401, 33}},
    {L"www.brevane.example",  L"www.brevane.example",  ROLE_SYSTEM_LINK, STATE_SYSTEM_LINKED, L"Jump", {16, 48, 177, 65}},
    {L"Apply",                L"Aplica Twinova",       0,                0,         nullptr,  {256, 44, 385, 69}},
    {L"Chose your language:", L"Chose your language:", kText,            kReadOnly, nullptr,  {8, 80, 153, 97}},
    {L"RO",                   L"RO",                   0,                0,         nullptr,  {160, 80, 193, 97}},
    {L"EN",                   L"EN",                   0,                0,         nullptr,  {200, 80, 233, 97}},
    {kEnglish.explanation,    kRomanian.explanation,   kText,            kReadOnly, nullptr,  {8, 112, 225, 185}},
};
// clang-format on
constexpr long kMinimise = 2;
constexpr long kClose = 3;
constexpr long kLink = 5;
constexpr long kApply = 6;

VARIANT ChildId(long id) {
    VARIANT child;
    VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

std::wstring Text(BSTR text) {
    std::wstring copy = text != nullptr ? text : L"";
    SysFreeString(text);
    return copy;
}

// Child `id`'s box in the table, at the scale of `window`, in screen pixels.
RECT OnScreen(HWND window, long id) {
    RECT box = testing_support::AtScale(testing_support::ScaleOf(window), kChildren[id - 1].box);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&box), 2);
    return box;
}

ComPtr<IAccessible> ClientObject(HWND window) {
    ComPtr<IAccessible> object;
    EXPECT_EQ(
        AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                   reinterpret_cast<void**>(object.GetAddressOf())),
        S_OK);
    return object;
}

RECT Location(IAccessible& object, const VARIANT& child) {
    long left = 0;
    long top = 0;
    long width = 0;
    long height = 0;
    EXPECT_EQ(object.accLocation(&left, &top, &width, &height, child), S_OK);
    return {left, top, left + width, top + height};
}

// The kind of VARIANT that stands for child `id`: the child's number, or the system's object
// for a child window.
VARTYPE KindOf(long id) {
    return kChildren[id - 1].role == 0 ? VT_DISPATCH : VT_I4;
}

// Reads every child the way a screen reader walks the tree and checks it against the table,
// with the focus on Apply, the first control in tab order.
void ExpectChildren(IAccessible& client, HWND window, bool romanian) {
    long count = 0;
    ASSERT_EQ(client.get_accChildCount(&count), S_OK);
    ASSERT_EQ(count, static_cast<long>(std::size(kChildren)));
    ComPtr<IDispatch> parent;
    EXPECT_EQ(client.get_accParent(parent.GetAddressOf()), S_OK);
    EXPECT_TRUE(parent) << "the window around the client area";
    for (const auto& [direction, id] :
         {std::pair{NAVDIR_FIRSTCHILD, 1L}, {NAVDIR_LASTCHILD, count}}) {
        VARIANT end;
        EXPECT_EQ(client.accNavigate(direction, ChildId(CHILDID_SELF), &end), S_OK);
        EXPECT_EQ(end.vt, VT_I4);
        EXPECT_EQ(end.lVal, id);
    }
    VARIANT focus;
    ASSERT_EQ(client.get_accFocus(&focus), S_OK);
    ASSERT_EQ(focus.vt, VT_DISPATCH);
    ComPtr<IAccessible> focused;
    EXPECT_EQ(focus.pdispVal->QueryInterface(__uuidof(IAccessible),
                                             reinterpret_cast<void**>(focused.GetAddressOf())),
              S_OK);
    const RECT applyBox = OnScreen(window, kApply);
    const RECT focusLocation = Location(*focused.Get(), ChildId(CHILDID_SELF));
    EXPECT_TRUE(EqualRect(&focusLocation, &applyBox)) << "the focus is on Apply";
    VariantClear(&focus);
    std::vector<VARIANT> children(static_cast<std::size_t>(count));
    long obtained = 0;
    ASSERT_TRUE(SUCCEEDED(AccessibleChildren(&client, 0, count, children.data(), &obtained)));
    ASSERT_EQ(obtained, count);
    for (long index = 0; index < count; ++index) {
        const ExpectedChild& expected = kChildren[index];
        const long id = index + 1;
        VARIANT& child = children[static_cast<std::size_t>(index)];
        SCOPED_TRACE(expected.english);
        const RECT box = OnScreen(window, id);
        VARIANT hit;
        EXPECT_EQ(client.accHitTest((box.left + box.right) / 2, (box.top + box.bottom) / 2, &hit),
                  S_OK);
        VARIANT next;
        EXPECT_EQ(client.accNavigate(NAVDIR_NEXT, ChildId(id), &next), id < count ? S_OK : S_FALSE);
        EXPECT_EQ(next.vt, id < count ? KindOf(id + 1) : static_cast<VARTYPE>(VT_EMPTY));
        if (next.vt == VT_I4) {
            EXPECT_EQ(next.lVal, id + 1);
        }
        VariantClear(&next);
        if (expected.role == 0) {
            ASSERT_EQ(child.vt, VT_DISPATCH);
            ComPtr<IAccessible> button;
            EXPECT_EQ(child.pdispVal->QueryInterface(
                          __uuidof(IAccessible), reinterpret_cast<void**>(button.GetAddressOf())),
                      S_OK);
            const RECT location = Location(*button.Get(), ChildId(CHILDID_SELF));
            EXPECT_TRUE(EqualRect(&location, &box));
            EXPECT_EQ(hit.vt, VT_DISPATCH);
        } else {
            ASSERT_EQ(child.vt, VT_I4);
            EXPECT_EQ(child.lVal, id);
            BSTR name = nullptr;
            EXPECT_EQ(client.get_accName(child, &name), S_OK);
            EXPECT_EQ(Text(name), romanian ? expected.romanian : expected.english);
            VARIANT role;
            EXPECT_EQ(client.get_accRole(child, &role), S_OK);
            EXPECT_EQ(role.vt, VT_I4);
            EXPECT_EQ(role.lVal, expected.role);
            VARIANT state;
            EXPECT_EQ(client.get_accState(child, &state), S_OK);
            EXPECT_EQ(state.vt, VT_I4);
            EXPECT_EQ(state.lVal, expected.state);
            BSTR action = nullptr;
            client.get_accDefaultAction(child, &action);
            EXPECT_EQ(Text(action),
                      expected.defaultAction != nullptr ? expected.defaultAction : L"");
            const RECT location = Location(client, child);
            EXPECT_TRUE(EqualRect(&location, &box)) << location.left << "," << location.top << ","
                                                    << location.right << "," << location.bottom;
            EXPECT_EQ(hit.vt, VT_I4);
            EXPECT_EQ(hit.lVal, id);
        }
        VariantClear(&hit);
        VariantClear(&child);
    }
}

// Every case runs in a single-threaded apartment, as a screen reader's thread does.
class Accessibility : public testing::Test {
  protected:
    void SetUp() override { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    void TearDown() override { CoUninitialize(); }
};

// ---------------------------------------------------------------------------------------------
// In-process

// Shows the form as the program does and hands its events out.
void Show(Form1& form) {
    form.LoadAndShow();
    testing_support::PumpMessages(&form);
}

TEST_F(Accessibility, ReadsEveryChildInReadingOrderInBothLanguages) {
    Form1 form;
    Show(form);
    const ComPtr<IAccessible> client = ClientObject(form.hWnd());
    ASSERT_TRUE(client);
    ExpectChildren(*client.Get(), form.hWnd(), false);
    form.Command2_Click();
    ExpectChildren(*client.Get(), form.hWnd(), true);
}

std::vector<long>* g_renamed = nullptr;

void CALLBACK RecordNameChange(HWINEVENTHOOK /*hook*/, DWORD /*event*/, HWND /*window*/,
                               LONG object, LONG child, DWORD /*thread*/, DWORD /*time*/) {
    if (g_renamed != nullptr && object == OBJID_CLIENT) {
        g_renamed->push_back(child);
    }
}

TEST_F(Accessibility, TheLanguageSwitchAnnouncesEveryRenamedChild) {
    Form1 form;
    Show(form);
    std::vector<long> renamed;
    g_renamed = &renamed;
    const HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr, RecordNameChange,
                        GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    form.Command2_Click();
    testing_support::PumpMessages(&form);
    form.Command2_Click();  // nothing changes the second time
    testing_support::PumpMessages(&form);
    UnhookWinEvent(hook);
    g_renamed = nullptr;
    // Instruction, Apply and explanation, and the minimise and close buttons.
    EXPECT_EQ(std::multiset<long>(renamed.begin(), renamed.end()),
              (std::multiset<long>{kMinimise, kClose, 4, 6, 10}));
}

TEST_F(Accessibility, OtherObjectsGetTheSystemsDefaultAnswer) {
    Form1 form;
    for (const LONG object : {OBJID_WINDOW, OBJID_VSCROLL, OBJID_CARET, OBJID_NATIVEOM, -25L}) {
        EXPECT_EQ(SendMessageW(form.hWnd(), WM_GETOBJECT, 0, static_cast<DWORD>(object)),
                  DefWindowProcW(form.hWnd(), WM_GETOBJECT, 0, static_cast<DWORD>(object)))
            << object;
    }
}

TEST_F(Accessibility, ChildIdsOutOfRangeAreRefused) {
    Form1 form;
    const ComPtr<IAccessible> client = ClientObject(form.hWnd());
    ASSERT_TRUE(client);
    VARIANT text;
    VariantInit(&text);
    text.vt = VT_BSTR;
    text.bstrVal = nullptr;
    const long outside = static_cast<long>(std::size(kChildren)) + 1;
    for (const VARIANT& child : {ChildId(-1), ChildId(outside), ChildId(LONG_MAX), text}) {
        BSTR name = nullptr;
        EXPECT_EQ(client->get_accName(child, &name), E_INVALIDARG) << child.lVal;
        EXPECT_EQ(name, nullptr);
        EXPECT_EQ(client->accDoDefaultAction(child), E_INVALIDARG) << child.lVal;
    }
}

// Allocations fail while this is set: what the object answers when the heap is exhausted.
bool g_allocationsFail = false;

TEST_F(Accessibility, AnExhaustedHeapIsAnErrorCodeNotAnException) {
    Form1 form;
    Show(form);
    const ComPtr<IAccessible> client = ClientObject(form.hWnd());
    ASSERT_TRUE(client);
    const RECT box = OnScreen(form.hWnd(), kLink);
    long count = 0;
    BSTR name = nullptr;
    long left = 0;
    VARIANT answer{};
    const std::function<HRESULT()> calls[] = {
        [&] { return client->get_accChildCount(&count); },
        [&] { return client->get_accName(ChildId(1), &name); },
        [&] { return client->get_accState(ChildId(kLink), &answer); },
        [&] { return client->accLocation(&left, &left, &left, &left, ChildId(kLink)); },
        [&] { return client->accNavigate(NAVDIR_NEXT, ChildId(1), &answer); },
        [&] { return client->accHitTest(box.left + 1, box.top + 1, &answer); },
        [&] { return client->get_accFocus(&answer); },
        [&] { return client->accDoDefaultAction(ChildId(kLink)); },
    };
    std::vector<HRESULT> answers(std::size(calls));
    g_allocationsFail = true;
    for (std::size_t index = 0; index < std::size(calls); ++index) {
        answers[index] = calls[index]();
    }
    g_allocationsFail = false;
    for (std::size_t index = 0; index < answers.size(); ++index) {
        EXPECT_EQ(answers[index], E_OUTOFMEMORY) << "call " << index;
    }
    EXPECT_EQ(name, nullptr);
    EXPECT_EQ(answer.vt, VT_EMPTY);
}

TEST_F(Accessibility, CallsAfterTheWindowIsGoneFailCleanly) {
    auto form = std::make_unique<Form1>();
    const ComPtr<IAccessible> client = ClientObject(form->hWnd());
    ASSERT_TRUE(client);
    form.reset();
    const auto failedCleanly = [](HRESULT result) {
        return result == CO_E_OBJNOTCONNECTED || result == E_FAIL;
    };
    long count = 0;
    EXPECT_TRUE(failedCleanly(client->get_accChildCount(&count)));
    BSTR name = nullptr;
    EXPECT_TRUE(failedCleanly(client->get_accName(ChildId(1), &name)));
    EXPECT_TRUE(failedCleanly(client->accDoDefaultAction(ChildId(kClose))));
    long left = 0;
    EXPECT_TRUE(failedCleanly(client->accLocation(&left, &left, &left, &left, ChildId(1))));
}

// ---------------------------------------------------------------------------------------------
// From another process

TEST_F(Accessibility, AnotherProcessReadsEveryChildAndTheLinkAndMinimiseWork) {
    RunningProgram program;
    const ComPtr<IAccessible> client = ClientObject(program.Window());
    ASSERT_TRUE(client);
    ExpectChildren(*client.Get(), program.Window(), false);
    EXPECT_EQ(client->accDoDefaultAction(ChildId(kMinimise)), S_OK);
    EXPECT_TRUE(WaitUntil([&] { return IsIconic(program.Window()) != FALSE; }));
    SKIP_UNLESS_BROWSER_RECORDS_ADDRESSES();
    DeleteFileA(kOpenedAddresses);
    EXPECT_EQ(client->accDoDefaultAction(ChildId(kLink)), S_OK);
    EXPECT_TRUE(WaitUntil([&] { return !ReadTextFile(kOpenedAddresses).empty(); }));
    EXPECT_EQ(ReadTextFile(kOpenedAddresses), "http://www.brevane.example/\n");
}

TEST_F(Accessibility, ClosesDefaultActionAnswersThenEndsTheProgramAndLaterCallsFail) {
    RunningProgram program;
    const ComPtr<IAccessible> client = ClientObject(program.Window());
    ASSERT_TRUE(client);
    EXPECT_EQ(client->accDoDefaultAction(ChildId(kClose)), S_OK);
    DWORD exitCode = STILL_ACTIVE;
    ASSERT_TRUE(program.WaitForExit(5s, exitCode));
    EXPECT_EQ(exitCode, 0U);
    long count = 0;
    EXPECT_TRUE(FAILED(client->get_accChildCount(&count)));
}

TEST_F(Accessibility, NothingActsWhileAMessageBoxIsOpenWhateverSendsTheInput) {
    SKIP_OUTSIDE_THROWAWAY_PREFIX("Yahoo Messenger settings (HKEY_CURRENT_USER\\Software\\yahoo)");
    DeleteFileA(kOpenedAddresses);
    RunningProgram program;
    const ComPtr<IAccessible> client = ClientObject(program.Window());
    ASSERT_TRUE(client);
    const HWND apply = FindWindowExW(program.Window(), nullptr, L"BUTTON", L"Apply");
    ASSERT_NE(apply, nullptr);
    // A window of another program is active, as when a tool presses the button from outside:
    // the box still belongs to the program's window.
    const HWND other = CreateWindowExW(0, L"STATIC", L"Another program", WS_POPUP | WS_VISIBLE, 0,
                                       0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(other);
    PostMessageW(apply, BM_CLICK, 0, 0);
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = FindMessageBoxOf(program.Window())) != nullptr; }));
    const DWORD process = testing_support::ProcessOf(program.Window());
    const auto boxes = [process] { return testing_support::MessageBoxCountOf(process); };

    struct Attempt {
        const char* name;
        long child;  // 0: Apply pressed again with BM_CLICK
        std::function<bool()> acted;
    };
    const Attempt attempts[] = {
        {"Apply", 0, [&] { return boxes() > 1; }},
        {"link", kLink, [] { return !ReadTextFile(kOpenedAddresses).empty(); }},
        {"minimise", kMinimise, [&] { return IsIconic(program.Window()) != FALSE; }},
        {"close", kClose, [&] { return !IsWindow(program.Window()); }},
    };
    for (const Attempt& attempt : attempts) {
        SCOPED_TRACE(attempt.name);
        if (attempt.child == 0) {
            PostMessageW(apply, BM_CLICK, 0, 0);
        } else {
            VARIANT state;
            EXPECT_EQ(client->get_accState(ChildId(attempt.child), &state), S_OK);
            EXPECT_NE(state.lVal & STATE_SYSTEM_UNAVAILABLE, 0);
            EXPECT_TRUE(FAILED(client->accDoDefaultAction(ChildId(attempt.child))));
        }
        EXPECT_FALSE(WaitUntil(attempt.acted, 500ms));
    }

    CloseMessageBox(box);
    ASSERT_TRUE(WaitUntil([&] { return boxes() == 0; }));
    EXPECT_FALSE(WaitUntil([&] { return boxes() > 0; }, 500ms)) << "a click left waiting";
    VARIANT state;
    EXPECT_EQ(client->get_accState(ChildId(kMinimise), &state), S_OK);
    EXPECT_EQ(state.lVal & STATE_SYSTEM_UNAVAILABLE, 0);
    EXPECT_EQ(client->accDoDefaultAction(ChildId(kMinimise)), S_OK);
    EXPECT_TRUE(WaitUntil([&] { return IsIconic(program.Window()) != FALSE; }));
    DestroyWindow(other);
}

}  // namespace

// Every allocation of this test program goes through these, so that a case can make the heap
// seem exhausted.
void* operator new(std::size_t size) {
    void* memory = g_allocationsFail ? nullptr : HeapAlloc(GetProcessHeap(), 0, size);
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    return memory;
}

void operator delete(void* memory) noexcept {
    if (memory != nullptr) {
        HeapFree(GetProcessHeap(), 0, memory);
    }
}

void operator delete(void* memory, std::size_t /*size*/) noexcept {
    operator delete(memory);
}
