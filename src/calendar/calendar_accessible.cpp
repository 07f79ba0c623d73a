// The flyout's IAccessible as a C-style COM object: a record whose first member points at a
// table of plain functions. The C form of the interface headers gives that table's type.
#define CINTERFACE
#define COBJMACROS
#include "calendar/calendar_accessible.h"

#include <ole2.h>
#include <oleacc.h>

#include <cstddef>

#include "common/platform.h"
#include "common/strings.h"
#include "text/ui_text.h"

namespace {

// The buttons' default action; the other words a screen reader speaks are the interface's own.
const wchar_t PressActionName[] = L"Press";

constexpr LONG DayChildren = CalendarRows * CalendarColumns;
constexpr LONG PreviousChild = DayChildren + 1;
constexpr LONG NextChild = DayChildren + 2;

// Named here rather than linked from uuid.lib, which would drag in more than these three.
const IID UnknownInterface = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID DispatchInterface = {0x00020400, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID AccessibleInterface = {
    0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

struct CalendarAccessible {
    IAccessible face; // first: an IAccessible* is the record's address
    LONG references;
    HWND window; // null once the flyout closed: every method then answers CO_E_OBJNOTCONNECTED
};

using LresultFromObjectCall = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
using AccessibleObjectFromWindowCall = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
using SysAllocStringCall = BSTR(WINAPI*)(const OLECHAR*);
using CoInitializeExCall = HRESULT(WINAPI*)(LPVOID, DWORD);
using CoUninitializeCall = void(WINAPI*)();
using CoDisconnectObjectCall = HRESULT(WINAPI*)(LPUNKNOWN, DWORD);

enum AccessibilityModule : int { Ole32, OleAut32, OleAcc, AccessibilityModules };
const wchar_t* const ModuleNames[AccessibilityModules] = {L"ole32.dll", L"oleaut32.dll",
                                                          L"oleacc.dll"};

} // namespace

// Kivet imports none of these DLLs: they load at a screen reader's first ask and then stay
// loaded (pinned) until Kivet ends, for a client may still hold an object whose code lives in
// oleacc. The object lives in Kivet.exe, but its clients reach it through COM's stubs in
// ole32, so the close disconnects it and leaves the apartment. Kivet's own references go with
// the flyout.
struct CalendarAccessibility {
    HMODULE modules[AccessibilityModules];
    CoInitializeExCall coInitializeEx;
    CoUninitializeCall coUninitialize;
    CoDisconnectObjectCall coDisconnectObject;
    SysAllocStringCall sysAllocString;
    LresultFromObjectCall lresultFromObject;
    AccessibleObjectFromWindowCall accessibleObjectFromWindow;
    bool apartmentEntered; // balanced by CoUninitialize at the close
    CalendarAccessible* object;
};

namespace {

const struct {
    AccessibilityModule module;
    const char* name;
    size_t slot; // where CalendarAccessibility keeps it
} Entries[] = {
    {Ole32, "CoInitializeEx", offsetof(CalendarAccessibility, coInitializeEx)},
    {Ole32, "CoUninitialize", offsetof(CalendarAccessibility, coUninitialize)},
    {Ole32, "CoDisconnectObject", offsetof(CalendarAccessibility, coDisconnectObject)},
    {OleAut32, "SysAllocString", offsetof(CalendarAccessibility, sysAllocString)},
    {OleAcc, "LresultFromObject", offsetof(CalendarAccessibility, lresultFromObject)},
    {OleAcc, "AccessibleObjectFromWindow",
     offsetof(CalendarAccessibility, accessibleObjectFromWindow)},
};

CalendarAccessible* ObjectOf(IAccessible* self) {
    return reinterpret_cast<CalendarAccessible*>(self);
}

bool IsDay(LONG child) {
    return child >= 1 && child <= DayChildren;
}

// The flyout behind the object and the child id a VARIANT names (CHILDID_SELF, a day or a
// button): CO_E_OBJNOTCONNECTED once the flyout closed, E_INVALIDARG for no such child.
HRESULT Reach(IAccessible* self, const VARIANT* childId, CalendarFlyout** flyout, LONG* child) {
    HWND window = ObjectOf(self)->window;
    *flyout = window != nullptr ? FlyoutOf(window) : nullptr;
    *child = V_VT(childId) == VT_I4 ? V_I4(childId) : -1;
    if (*flyout == nullptr) {
        return CO_E_OBJNOTCONNECTED;
    }
    return *child >= CHILDID_SELF && *child <= NextChild ? S_OK : E_INVALIDARG;
}

HRESULT ReachSelf(IAccessible* self, CalendarFlyout** flyout) {
    VARIANT childId;
    V_VT(&childId) = VT_I4;
    V_I4(&childId) = CHILDID_SELF;
    LONG child;
    return Reach(self, &childId, flyout, &child);
}

LONG SelectedChild(const CalendarFlyout* flyout) {
    return CalendarSelectedCell(flyout) + 1;
}

// False for a day or a ‹ › button outside 1601..9999: it cannot be selected or pressed.
bool Available(const CalendarFlyout* flyout, LONG child) {
    return IsDay(child) ? CalendarCellAvailable(flyout, child - 1)
                        : CalendarButtonAvailable(flyout, child == NextChild);
}

// In client coordinates.
RECT ChildRect(const CalendarFlyout* flyout, LONG child) {
    if (IsDay(child)) {
        return CalendarCellRect(flyout, child - 1);
    }
    return CalendarButtonRect(flyout, child == NextChild);
}

HRESULT AnswerChild(VARIANT* result, LONG child) {
    V_VT(result) = VT_I4;
    V_I4(result) = child;
    return S_OK;
}

enum ChildText : int { NameText, ValueText, DescriptionText, ActionText, NoText };

// A child's name, value, description or default action: S_FALSE where it has none.
HRESULT AnswerText(IAccessible* self, const VARIANT* childId, BSTR* result, ChildText kind) {
    *result = nullptr;
    CalendarFlyout* flyout;
    LONG child;
    const HRESULT reached = Reach(self, childId, &flyout, &child);
    if (FAILED(reached)) {
        return reached;
    }
    wchar_t text[160];
    const wchar_t* answer = nullptr;
    if (kind == NameText && child == CHILDID_SELF) {
        FormatCalendarTitle(flyout, text, 160);
        answer = text;
    } else if (kind == NameText && IsDay(child)) {
        FormatCellName(flyout, child - 1, text, 160);
        answer = text;
    } else if (kind == NameText) {
        answer = UiText(child == NextChild ? TextNextMonth : TextPreviousMonth);
    } else if (kind == ValueText && child == CHILDID_SELF) {
        FormatFooter(flyout, text, 160);
        answer = text;
    } else if (kind == DescriptionText && IsDay(child) &&
               SameDate(CalendarCellDate(flyout, child - 1), flyout->today)) {
        answer = UiText(TextToday);
    } else if (kind == ActionText && child >= PreviousChild) {
        answer = PressActionName;
    }
    if (answer == nullptr) {
        return S_FALSE;
    }
    *result = flyout->accessibility->sysAllocString(answer);
    return *result != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT STDMETHODCALLTYPE QueryInterface(IAccessible* self, REFIID interfaceId, void** result) {
    if (result == nullptr) {
        return E_POINTER;
    }
    if (!IsEqualIID(interfaceId, UnknownInterface) && !IsEqualIID(interfaceId, DispatchInterface) &&
        !IsEqualIID(interfaceId, AccessibleInterface)) {
        *result = nullptr;
        return E_NOINTERFACE;
    }
    *result = self;
    InterlockedIncrement(&ObjectOf(self)->references);
    return S_OK;
}

ULONG STDMETHODCALLTYPE AddRef(IAccessible* self) {
    return static_cast<ULONG>(InterlockedIncrement(&ObjectOf(self)->references));
}

ULONG STDMETHODCALLTYPE Release(IAccessible* self) {
    const LONG left = InterlockedDecrement(&ObjectOf(self)->references);
    if (left == 0) {
        FreeHeapBlock(ObjectOf(self));
    }
    return static_cast<ULONG>(left);
}

HRESULT STDMETHODCALLTYPE GetTypeInfoCount(IAccessible*, UINT* count) {
    *count = 0;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE GetTypeInfo(IAccessible*, UINT, LCID, ITypeInfo** info) {
    *info = nullptr;
    return E_NOTIMPL;
}

// No type information: IDispatch's callers get their out-parameters set all the same.
HRESULT STDMETHODCALLTYPE GetIDsOfNames(IAccessible*, REFIID, LPOLESTR*, UINT count, LCID,
                                        DISPID* ids) {
    for (UINT name = 0; ids != nullptr && name < count; ++name) {
        ids[name] = DISPID_UNKNOWN;
    }
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE Invoke(IAccessible*, DISPID, REFIID, LCID, WORD, DISPPARAMS*,
                                 VARIANT* result, EXCEPINFO* exception, UINT* argumentError) {
    if (result != nullptr) {
        V_VT(result) = VT_EMPTY;
    }
    if (exception != nullptr) {
        ZeroMemory(exception, sizeof(*exception));
    }
    if (argumentError != nullptr) {
        *argumentError = 0;
    }
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE GetParent(IAccessible* self, IDispatch** parent) {
    *parent = nullptr;
    CalendarFlyout* flyout;
    const HRESULT reached = ReachSelf(self, &flyout);
    if (FAILED(reached)) {
        return reached;
    }
    const HRESULT found = flyout->accessibility->accessibleObjectFromWindow(
        ObjectOf(self)->window, static_cast<DWORD>(OBJID_WINDOW), DispatchInterface,
        reinterpret_cast<void**>(parent));
    return SUCCEEDED(found) ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE GetChildCount(IAccessible* self, LONG* count) {
    CalendarFlyout* flyout;
    *count = NextChild;
    return ReachSelf(self, &flyout);
}

// The children are simple elements, spoken through this object.
HRESULT STDMETHODCALLTYPE GetChild(IAccessible* self, VARIANT childId, IDispatch** result) {
    *result = nullptr;
    CalendarFlyout* flyout;
    LONG child;
    const HRESULT reached = Reach(self, &childId, &flyout, &child);
    if (FAILED(reached)) {
        return reached;
    }
    return child == CHILDID_SELF ? E_INVALIDARG : S_FALSE;
}

HRESULT STDMETHODCALLTYPE GetName(IAccessible* self, VARIANT child, BSTR* name) {
    return AnswerText(self, &child, name, NameText);
}

HRESULT STDMETHODCALLTYPE GetValue(IAccessible* self, VARIANT child, BSTR* value) {
    return AnswerText(self, &child, value, ValueText);
}

HRESULT STDMETHODCALLTYPE GetDescription(IAccessible* self, VARIANT child, BSTR* description) {
    return AnswerText(self, &child, description, DescriptionText);
}

HRESULT STDMETHODCALLTYPE GetDefaultAction(IAccessible* self, VARIANT child, BSTR* action) {
    return AnswerText(self, &child, action, ActionText);
}

// Help, keyboard shortcut: none.
HRESULT STDMETHODCALLTYPE GetNoText(IAccessible* self, VARIANT child, BSTR* text) {
    return AnswerText(self, &child, text, NoText);
}

HRESULT STDMETHODCALLTYPE GetHelpTopic(IAccessible*, BSTR* file, VARIANT, LONG* topic) {
    *file = nullptr;
    *topic = -1;
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT STDMETHODCALLTYPE GetRole(IAccessible* self, VARIANT childId, VARIANT* role) {
    V_VT(role) = VT_EMPTY;
    CalendarFlyout* flyout;
    LONG child;
    const HRESULT reached = Reach(self, &childId, &flyout, &child);
    if (FAILED(reached)) {
        return reached;
    }
    return AnswerChild(role, child == CHILDID_SELF ? ROLE_SYSTEM_TABLE
                             : IsDay(child)        ? ROLE_SYSTEM_CELL
                                                   : ROLE_SYSTEM_PUSHBUTTON);
}

HRESULT STDMETHODCALLTYPE GetState(IAccessible* self, VARIANT childId, VARIANT* state) {
    V_VT(state) = VT_EMPTY;
    CalendarFlyout* flyout;
    LONG child;
    const HRESULT reached = Reach(self, &childId, &flyout, &child);
    if (FAILED(reached)) {
        return reached;
    }
    LONG states = child == CHILDID_SELF ? STATE_SYSTEM_FOCUSABLE : 0;
    if (IsDay(child)) {
        states = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
        if (child == SelectedChild(flyout)) {
            states |= STATE_SYSTEM_SELECTED;
            states |= GetFocus() == ObjectOf(self)->window ? STATE_SYSTEM_FOCUSED : 0;
        }
    }
    if (child != CHILDID_SELF && !Available(flyout, child)) {
        states = STATE_SYSTEM_UNAVAILABLE;
    }
    return AnswerChild(state, states);
}

// The selected day; as the focus only while the flyout has the keyboard.
HRESULT AnswerSelected(IAccessible* self, VARIANT* result, bool focus) {
    V_VT(result) = VT_EMPTY;
    CalendarFlyout* flyout;
    const HRESULT reached = ReachSelf(self, &flyout);
    if (FAILED(reached)) {
        return reached;
    }
    if (focus && GetFocus() != ObjectOf(self)->window) {
        return S_FALSE;
    }
    return AnswerChild(result, SelectedChild(flyout));
}

HRESULT STDMETHODCALLTYPE GetFocusedChild(IAccessible* self, VARIANT* result) {
    return AnswerSelected(self, result, true);
}

HRESULT STDMETHODCALLTYPE GetSelection(IAccessible* self, VARIANT* result) {
    return AnswerSelected(self, result, false);
}

// What the user's own click there does: a day takes the focus and the selection together,
// a button moves the month.
HRESULT Press(IAccessible* self, VARIANT* childId, bool onDay) {
    CalendarFlyout* flyout;
    LONG child;
    const HRESULT reached = Reach(self, childId, &flyout, &child);
    if (FAILED(reached)) {
        return reached;
    }
    if (child == CHILDID_SELF || IsDay(child) != onDay) {
        return DISP_E_MEMBERNOTFOUND;
    }
    if (!Available(flyout, child)) {
        return E_FAIL;
    }
    const RECT box = ChildRect(flyout, child);
    const LPARAM centre = MAKELPARAM((box.left + box.right) / 2, (box.top + box.bottom) / 2);
    PostMessageW(ObjectOf(self)->window, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    PostMessageW(ObjectOf(self)->window, WM_LBUTTONUP, 0, centre);
    return S_OK;
}

// One day is selected and focused at a time: taking the focus or the selection is all a
// client can ask.
HRESULT STDMETHODCALLTYPE Select(IAccessible* self, LONG flags, VARIANT child) {
    const LONG supported = SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION;
    if (flags == 0 || (flags & ~supported) != 0) {
        return E_INVALIDARG;
    }
    return Press(self, &child, true);
}

HRESULT STDMETHODCALLTYPE DoDefaultAction(IAccessible* self, VARIANT child) {
    return Press(self, &child, false);
}

HRESULT STDMETHODCALLTYPE GetLocation(IAccessible* self, LONG* left, LONG* top, LONG* width,
                                      LONG* height, VARIANT childId) {
    CalendarFlyout* flyout;
    LONG child;
    const HRESULT reached = Reach(self, &childId, &flyout, &child);
    if (FAILED(reached)) {
        return reached;
    }
    HWND window = ObjectOf(self)->window;
    RECT box;
    if (child == CHILDID_SELF) {
        GetClientRect(window, &box);
    } else {
        box = ChildRect(flyout, child);
    }
    MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&box), 2);
    *left = box.left;
    *top = box.top;
    *width = box.right - box.left;
    *height = box.bottom - box.top;
    return S_OK;
}

// The first and last children from the table, the next and previous from a child, and the
// day beside or above or below within the grid.
HRESULT STDMETHODCALLTYPE Navigate(IAccessible* self, LONG direction, VARIANT start, VARIANT* end) {
    V_VT(end) = VT_EMPTY;
    CalendarFlyout* flyout;
    LONG from;
    const HRESULT reached = Reach(self, &start, &flyout, &from);
    if (FAILED(reached)) {
        return reached;
    }
    LONG to = 0;
    if (from == CHILDID_SELF && (direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD)) {
        to = direction == NAVDIR_FIRSTCHILD ? 1 : NextChild;
    } else if (from != CHILDID_SELF && (direction == NAVDIR_NEXT || direction == NAVDIR_PREVIOUS)) {
        to = from + (direction == NAVDIR_NEXT ? 1 : -1);
    } else if (IsDay(from) && (direction == NAVDIR_UP || direction == NAVDIR_DOWN)) {
        to = from + (direction == NAVDIR_DOWN ? CalendarColumns : -CalendarColumns);
        to = IsDay(to) ? to : 0;
    } else if (IsDay(from) && (direction == NAVDIR_LEFT || direction == NAVDIR_RIGHT)) {
        const LONG column = (from - 1) % CalendarColumns;
        const bool inRow = direction == NAVDIR_LEFT ? column > 0 : column < CalendarColumns - 1;
        to = inRow ? from + (direction == NAVDIR_RIGHT ? 1 : -1) : 0;
    }
    return to >= 1 && to <= NextChild ? AnswerChild(end, to) : S_FALSE;
}

HRESULT STDMETHODCALLTYPE HitTest(IAccessible* self, LONG x, LONG y, VARIANT* result) {
    V_VT(result) = VT_EMPTY;
    CalendarFlyout* flyout;
    const HRESULT reached = ReachSelf(self, &flyout);
    if (FAILED(reached)) {
        return reached;
    }
    HWND window = ObjectOf(self)->window;
    POINT point = {x, y};
    ScreenToClient(window, &point);
    RECT client;
    GetClientRect(window, &client);
    if (!PtInRect(&client, point)) {
        return S_FALSE;
    }
    LONG found = CHILDID_SELF;
    for (LONG child = 1; child <= NextChild; ++child) {
        const RECT box = ChildRect(flyout, child);
        found = PtInRect(&box, point) ? child : found;
    }
    return AnswerChild(result, found);
}

// Name and value cannot be set.
HRESULT STDMETHODCALLTYPE PutText(IAccessible*, VARIANT, BSTR) {
    return E_NOTIMPL;
}

const IAccessibleVtbl CalendarAccessibleFunctions = {
    QueryInterface,   AddRef,       Release,        GetTypeInfoCount, GetTypeInfo,
    GetIDsOfNames,    Invoke,       GetParent,      GetChildCount,    GetChild,
    GetName,          GetValue,     GetDescription, GetRole,          GetState,
    GetNoText,        GetHelpTopic, GetNoText,      GetFocusedChild,  GetSelection,
    GetDefaultAction, Select,       GetLocation,    Navigate,         HitTest,
    DoDefaultAction,  PutText,      PutText};

void FreeAccessibility(CalendarAccessibility* accessibility) {
    CalendarAccessible* object = accessibility->object;
    if (object != nullptr) {
        object->window = nullptr;
        // Drops the references COM's stubs hold for clients; a client's next call fails.
        accessibility->coDisconnectObject(reinterpret_cast<IUnknown*>(object), 0);
        Release(&object->face);
    }
    if (accessibility->apartmentEntered) {
        accessibility->coUninitialize();
    }
    for (HMODULE module : accessibility->modules) {
        if (module != nullptr) {
            FreeLibrary(module);
        }
    }
    FreeHeapBlock(accessibility);
}

// The DLLs, their entries, the object, and a COM apartment for the marshalling of
// LresultFromObject. False, with nothing kept, when any of them cannot be had.
bool StartAccessibility(HWND window, CalendarFlyout* flyout) {
    if (flyout->accessibility != nullptr) {
        return true;
    }
    CalendarAccessibility* accessibility =
        static_cast<CalendarAccessibility*>(AllocateZeroed(sizeof(CalendarAccessibility)));
    if (accessibility == nullptr) {
        return false;
    }
    for (int module = 0; module < AccessibilityModules; ++module) {
        accessibility->modules[module] = platform.loadSystemLibrary(ModuleNames[module]);
        HMODULE pinned;
        if (accessibility->modules[module] != nullptr) {
            GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN, ModuleNames[module], &pinned);
        }
    }
    bool found = true;
    for (const auto& entry : Entries) {
        HMODULE module = accessibility->modules[entry.module];
        void* address = module != nullptr
                            ? reinterpret_cast<void*>(GetProcAddress(module, entry.name))
                            : nullptr;
        CopyMemory(reinterpret_cast<char*>(accessibility) + entry.slot, &address, sizeof(address));
        found = found && address != nullptr;
    }
    CalendarAccessible* object =
        found ? static_cast<CalendarAccessible*>(AllocateZeroed(sizeof(CalendarAccessible)))
              : nullptr;
    if (object == nullptr) {
        FreeAccessibility(accessibility);
        return false;
    }
    object->face.lpVtbl = const_cast<IAccessibleVtbl*>(&CalendarAccessibleFunctions);
    object->references = 1;
    object->window = window;
    accessibility->object = object;
    // S_FALSE too (the thread had COM already) takes a reference to give back.
    accessibility->apartmentEntered =
        SUCCEEDED(accessibility->coInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    flyout->accessibility = accessibility;
    return true;
}

} // namespace

// DestroyWindow hides the flyout before WM_DESTROY: a request that comes in during the close
// (COM's uninitialising pumps messages) finds it hidden and loads nothing again.
LRESULT AnswerCalendarObjectRequest(HWND window, CalendarFlyout* flyout, WPARAM flags,
                                    LPARAM objectId) {
    if (static_cast<DWORD>(objectId) != static_cast<DWORD>(OBJID_CLIENT) ||
        !IsWindowVisible(window) || !StartAccessibility(window, flyout)) {
        return DefWindowProcW(window, WM_GETOBJECT, flags, objectId);
    }
    return flyout->accessibility->lresultFromObject(
        AccessibleInterface, flags, reinterpret_cast<IUnknown*>(flyout->accessibility->object));
}

void ReleaseCalendarAccessibility(CalendarFlyout* flyout) {
    if (flyout->accessibility != nullptr) {
        FreeAccessibility(flyout->accessibility);
        flyout->accessibility = nullptr;
    }
}
