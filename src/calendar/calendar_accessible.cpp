// The flyout's IAccessible as a C-style COM object: a record whose first member points at a
// table of plain functions. The C form of the interface headers gives that table's type.
#define CINTERFACE
#define COBJMACROS
#include "calendar/calendar_accessible.h"

#include <ole2.h>
#include <oleacc.h>

#include "common/platform.h"
#include "common/strings.h"
#include "week/iso_week.h"

namespace {

// The words a screen reader speaks.
const wchar_t PreviousMonthName[] = L"Previous month";
const wchar_t NextMonthName[] = L"Next month";
const wchar_t DayNamePattern[] = L"%ls, week %d"; // the long date, the ISO week
const wchar_t TodayDescription[] = L"Today";
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

} // namespace

// Kivet imports none of these DLLs: they load at a screen reader's first ask and go with the
// flyout. The object lives in Kivet.exe, but its clients reach it through COM's stubs in
// ole32, so the close first disconnects it and leaves the apartment; after that no code of
// these DLLs runs for Kivet and they can be freed.
struct CalendarAccessibility {
    HMODULE ole32;
    HMODULE oleaut32;
    HMODULE oleacc;
    LresultFromObjectCall lresultFromObject;
    AccessibleObjectFromWindowCall accessibleObjectFromWindow;
    SysAllocStringCall sysAllocString;
    CoUninitializeCall coUninitialize;
    CoDisconnectObjectCall coDisconnectObject;
    bool apartmentEntered; // balanced by CoUninitialize at the close
    CalendarAccessible* object;
};

namespace {

template <typename Call> bool LookUp(HMODULE module, const char* name, Call* call) {
    *call = module != nullptr
                ? reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                : nullptr;
    return *call != nullptr;
}

CalendarAccessible* ObjectOf(IAccessible* self) {
    return reinterpret_cast<CalendarAccessible*>(self);
}

// The flyout behind the object, or null once it closed.
CalendarFlyout* Connected(IAccessible* self) {
    HWND window = ObjectOf(self)->window;
    return window != nullptr ? FlyoutOf(window) : nullptr;
}

// The child id a VARIANT names: CHILDID_SELF, a day or a button; -1 for anything else.
LONG ChildOf(VARIANT child) {
    return V_VT(&child) == VT_I4 && V_I4(&child) >= CHILDID_SELF && V_I4(&child) <= NextChild
               ? V_I4(&child)
               : -1;
}

bool IsDay(LONG child) {
    return child >= 1 && child <= DayChildren;
}

CalendarDate DayOf(const CalendarFlyout* flyout, LONG child) {
    MonthGrid grid;
    BuildMonthGrid(flyout->selected.year, flyout->selected.month, &grid);
    return grid.cells[child - 1];
}

LONG SelectedChild(const CalendarFlyout* flyout) {
    MonthGrid grid;
    BuildMonthGrid(flyout->selected.year, flyout->selected.month, &grid);
    for (int index = 0; index < DayChildren; ++index) {
        if (SameDate(grid.cells[index], flyout->selected)) {
            return index + 1;
        }
    }
    return CHILDID_SELF;
}

// In client coordinates.
RECT ChildRect(const CalendarFlyout* flyout, LONG child) {
    if (IsDay(child)) {
        return CalendarCellRect(flyout, child - 1);
    }
    return CalendarButtonRect(flyout, child == NextChild);
}

void SetChild(VARIANT* result, LONG child) {
    V_VT(result) = VT_I4;
    V_I4(result) = child;
}

HRESULT AnswerText(const CalendarFlyout* flyout, const wchar_t* text, BSTR* result) {
    *result = flyout->accessibility->sysAllocString(text);
    return *result != nullptr ? S_OK : E_OUTOFMEMORY;
}

// What the user's own input would do there: the same path as a click of the mouse.
void ClickChild(HWND window, const CalendarFlyout* flyout, LONG child) {
    const RECT box = ChildRect(flyout, child);
    const LPARAM centre = MAKELPARAM((box.left + box.right) / 2, (box.top + box.bottom) / 2);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    PostMessageW(window, WM_LBUTTONUP, 0, centre);
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

HRESULT STDMETHODCALLTYPE GetIDsOfNames(IAccessible*, REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE Invoke(IAccessible*, DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                 EXCEPINFO*, UINT*) {
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE GetParent(IAccessible* self, IDispatch** parent) {
    *parent = nullptr;
    const CalendarFlyout* flyout = Connected(self);
    if (flyout == nullptr) {
        return CO_E_OBJNOTCONNECTED;
    }
    const HRESULT found = flyout->accessibility->accessibleObjectFromWindow(
        ObjectOf(self)->window, static_cast<DWORD>(OBJID_WINDOW), DispatchInterface,
        reinterpret_cast<void**>(parent));
    return SUCCEEDED(found) ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE GetChildCount(IAccessible* self, LONG* count) {
    *count = NextChild;
    return Connected(self) != nullptr ? S_OK : CO_E_OBJNOTCONNECTED;
}

// The children are simple elements, spoken through this object.
HRESULT STDMETHODCALLTYPE GetChild(IAccessible* self, VARIANT child, IDispatch** result) {
    *result = nullptr;
    if (Connected(self) == nullptr) {
        return CO_E_OBJNOTCONNECTED;
    }
    return ChildOf(child) > CHILDID_SELF ? S_FALSE : E_INVALIDARG;
}

HRESULT STDMETHODCALLTYPE GetName(IAccessible* self, VARIANT childId, BSTR* name) {
    *name = nullptr;
    const CalendarFlyout* flyout = Connected(self);
    const LONG child = ChildOf(childId);
    if (flyout == nullptr || child < 0) {
        return flyout == nullptr ? CO_E_OBJNOTCONNECTED : E_INVALIDARG;
    }
    wchar_t text[160];
    if (child == CHILDID_SELF) {
        FormatLocaleDate(flyout->selected, DATE_YEARMONTH, text, 160);
    } else if (IsDay(child)) {
        const CalendarDate day = DayOf(flyout, child);
        wchar_t longDate[120];
        FormatLocaleDate(day, DATE_LONGDATE, longDate, 120);
        FormatString(text, 160, DayNamePattern, longDate,
                     ComputeIsoWeek(day.year, day.month, day.day).week);
    } else {
        return AnswerText(flyout, child == NextChild ? NextMonthName : PreviousMonthName, name);
    }
    return AnswerText(flyout, text, name);
}

HRESULT STDMETHODCALLTYPE GetValue(IAccessible* self, VARIANT child, BSTR* value) {
    *value = nullptr;
    const CalendarFlyout* flyout = Connected(self);
    if (flyout == nullptr || ChildOf(child) != CHILDID_SELF) {
        return flyout == nullptr ? CO_E_OBJNOTCONNECTED : DISP_E_MEMBERNOTFOUND;
    }
    wchar_t text[160];
    FormatFooter(flyout, text, 160);
    return AnswerText(flyout, text, value);
}

HRESULT STDMETHODCALLTYPE GetDescription(IAccessible* self, VARIANT childId, BSTR* description) {
    *description = nullptr;
    const CalendarFlyout* flyout = Connected(self);
    if (flyout == nullptr) {
        return CO_E_OBJNOTCONNECTED;
    }
    const LONG child = ChildOf(childId);
    if (IsDay(child) && SameDate(DayOf(flyout, child), flyout->today)) {
        return AnswerText(flyout, TodayDescription, description);
    }
    return child < 0 ? E_INVALIDARG : S_FALSE;
}

HRESULT STDMETHODCALLTYPE GetRole(IAccessible* self, VARIANT childId, VARIANT* role) {
    V_VT(role) = VT_EMPTY;
    const LONG child = ChildOf(childId);
    if (Connected(self) == nullptr || child < 0) {
        return child < 0 ? E_INVALIDARG : CO_E_OBJNOTCONNECTED;
    }
    SetChild(role, child == CHILDID_SELF ? ROLE_SYSTEM_TABLE
                   : IsDay(child)        ? ROLE_SYSTEM_CELL
                                         : ROLE_SYSTEM_PUSHBUTTON);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE GetState(IAccessible* self, VARIANT childId, VARIANT* state) {
    V_VT(state) = VT_EMPTY;
    const CalendarFlyout* flyout = Connected(self);
    const LONG child = ChildOf(childId);
    if (flyout == nullptr || child < 0) {
        return flyout == nullptr ? CO_E_OBJNOTCONNECTED : E_INVALIDARG;
    }
    LONG states = child == CHILDID_SELF ? STATE_SYSTEM_FOCUSABLE : 0;
    if (IsDay(child)) {
        states = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
        if (child == SelectedChild(flyout)) {
            states |= STATE_SYSTEM_SELECTED;
            states |= GetFocus() == ObjectOf(self)->window ? STATE_SYSTEM_FOCUSED : 0;
        }
    }
    SetChild(state, states);
    return S_OK;
}

// Help, keyboard shortcut: none.
HRESULT STDMETHODCALLTYPE GetNoText(IAccessible* self, VARIANT, BSTR* text) {
    *text = nullptr;
    return Connected(self) != nullptr ? S_FALSE : CO_E_OBJNOTCONNECTED;
}

HRESULT STDMETHODCALLTYPE GetHelpTopic(IAccessible*, BSTR* file, VARIANT, LONG* topic) {
    *file = nullptr;
    *topic = -1;
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT STDMETHODCALLTYPE GetFocusedChild(IAccessible* self, VARIANT* result) {
    V_VT(result) = VT_EMPTY;
    const CalendarFlyout* flyout = Connected(self);
    if (flyout == nullptr) {
        return CO_E_OBJNOTCONNECTED;
    }
    if (GetFocus() != ObjectOf(self)->window) {
        return S_FALSE;
    }
    SetChild(result, SelectedChild(flyout));
    return S_OK;
}

HRESULT STDMETHODCALLTYPE GetSelection(IAccessible* self, VARIANT* result) {
    V_VT(result) = VT_EMPTY;
    const CalendarFlyout* flyout = Connected(self);
    if (flyout == nullptr) {
        return CO_E_OBJNOTCONNECTED;
    }
    SetChild(result, SelectedChild(flyout));
    return S_OK;
}

HRESULT STDMETHODCALLTYPE GetDefaultAction(IAccessible* self, VARIANT childId, BSTR* action) {
    *action = nullptr;
    const CalendarFlyout* flyout = Connected(self);
    if (flyout == nullptr) {
        return CO_E_OBJNOTCONNECTED;
    }
    const LONG child = ChildOf(childId);
    if (child == PreviousChild || child == NextChild) {
        return AnswerText(flyout, PressActionName, action);
    }
    return child < 0 ? E_INVALIDARG : S_FALSE;
}

// A day takes the focus and the selection together, as a click gives them.
HRESULT STDMETHODCALLTYPE Select(IAccessible* self, LONG flags, VARIANT childId) {
    const CalendarFlyout* flyout = Connected(self);
    if (flyout == nullptr) {
        return CO_E_OBJNOTCONNECTED;
    }
    const LONG child = ChildOf(childId);
    if (!IsDay(child) || (flags & (SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION)) == 0) {
        return child < 0 ? E_INVALIDARG : DISP_E_MEMBERNOTFOUND;
    }
    ClickChild(ObjectOf(self)->window, flyout, child);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE GetLocation(IAccessible* self, LONG* left, LONG* top, LONG* width,
                                      LONG* height, VARIANT childId) {
    const CalendarFlyout* flyout = Connected(self);
    const LONG child = ChildOf(childId);
    if (flyout == nullptr || child < 0) {
        return flyout == nullptr ? CO_E_OBJNOTCONNECTED : E_INVALIDARG;
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

// The child in that direction; the days also go by the grid's rows and columns.
HRESULT STDMETHODCALLTYPE Navigate(IAccessible* self, LONG direction, VARIANT start, VARIANT* end) {
    V_VT(end) = VT_EMPTY;
    if (Connected(self) == nullptr) {
        return CO_E_OBJNOTCONNECTED;
    }
    const LONG from = ChildOf(start);
    LONG to = -1;
    switch (direction) {
    case NAVDIR_FIRSTCHILD:
    case NAVDIR_LASTCHILD:
        to = from == CHILDID_SELF ? (direction == NAVDIR_FIRSTCHILD ? 1 : NextChild) : -1;
        break;
    case NAVDIR_NEXT:
    case NAVDIR_PREVIOUS:
        to = from > CHILDID_SELF ? from + (direction == NAVDIR_NEXT ? 1 : -1) : -1;
        break;
    case NAVDIR_LEFT:
    case NAVDIR_RIGHT:
    case NAVDIR_UP:
    case NAVDIR_DOWN: {
        const LONG steps[] = {-CalendarColumns, CalendarColumns, -1, 1}; // up, down, left, right
        to = IsDay(from) ? from + steps[direction - NAVDIR_UP] : -1;
        to = IsDay(to) && (direction <= NAVDIR_DOWN ||
                           (to - 1) / CalendarColumns == (from - 1) / CalendarColumns)
                 ? to
                 : -1;
        break;
    }
    default:
        return from < 0 ? E_INVALIDARG : DISP_E_MEMBERNOTFOUND;
    }
    if (to < 1 || to > NextChild) {
        return S_FALSE;
    }
    SetChild(end, to);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE HitTest(IAccessible* self, LONG x, LONG y, VARIANT* result) {
    V_VT(result) = VT_EMPTY;
    const CalendarFlyout* flyout = Connected(self);
    if (flyout == nullptr) {
        return CO_E_OBJNOTCONNECTED;
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
    SetChild(result, found);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DoDefaultAction(IAccessible* self, VARIANT childId) {
    const CalendarFlyout* flyout = Connected(self);
    if (flyout == nullptr) {
        return CO_E_OBJNOTCONNECTED;
    }
    const LONG child = ChildOf(childId);
    if (child != PreviousChild && child != NextChild) {
        return child < 0 ? E_INVALIDARG : DISP_E_MEMBERNOTFOUND;
    }
    ClickChild(ObjectOf(self)->window, flyout, child);
    return S_OK;
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
    const HMODULE modules[] = {accessibility->oleacc, accessibility->oleaut32,
                               accessibility->ole32};
    for (HMODULE module : modules) {
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
    accessibility->ole32 = platform.loadSystemLibrary(L"ole32.dll");
    accessibility->oleaut32 = platform.loadSystemLibrary(L"oleaut32.dll");
    accessibility->oleacc = platform.loadSystemLibrary(L"oleacc.dll");
    CoInitializeExCall coInitializeEx = nullptr;
    const bool found =
        LookUp(accessibility->ole32, "CoInitializeEx", &coInitializeEx) &&
        LookUp(accessibility->ole32, "CoUninitialize", &accessibility->coUninitialize) &&
        LookUp(accessibility->ole32, "CoDisconnectObject", &accessibility->coDisconnectObject) &&
        LookUp(accessibility->oleaut32, "SysAllocString", &accessibility->sysAllocString) &&
        LookUp(accessibility->oleacc, "LresultFromObject", &accessibility->lresultFromObject) &&
        LookUp(accessibility->oleacc, "AccessibleObjectFromWindow",
               &accessibility->accessibleObjectFromWindow);
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
    accessibility->apartmentEntered = SUCCEEDED(coInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    flyout->accessibility = accessibility;
    return true;
}

void MoveCaret(const CalendarFlyout* flyout) {
    const RECT cell = CalendarCellRect(flyout, SelectedChild(flyout) - 1);
    SetCaretPos(cell.left, cell.top);
}

} // namespace

LRESULT AnswerCalendarObjectRequest(HWND window, CalendarFlyout* flyout, WPARAM flags,
                                    LPARAM objectId) {
    if (static_cast<DWORD>(objectId) != static_cast<DWORD>(OBJID_CLIENT) ||
        !StartAccessibility(window, flyout)) {
        return DefWindowProcW(window, WM_GETOBJECT, flags, objectId);
    }
    return flyout->accessibility->lresultFromObject(
        AccessibleInterface, flags, reinterpret_cast<IUnknown*>(flyout->accessibility->object));
}

void NotifyCalendarSelection(HWND window, const CalendarFlyout* flyout, CalendarDate previous) {
    if (SameDate(previous, flyout->selected)) {
        return;
    }
    if (previous.year != flyout->selected.year || previous.month != flyout->selected.month) {
        NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window, OBJID_CLIENT, CHILDID_SELF);
    }
    const LONG child = SelectedChild(flyout);
    if (GetFocus() == window) {
        MoveCaret(flyout);
        NotifyWinEvent(EVENT_OBJECT_FOCUS, window, OBJID_CLIENT, child);
    }
    NotifyWinEvent(EVENT_OBJECT_SELECTION, window, OBJID_CLIENT, child);
}

void NotifyCalendarValue(HWND window) {
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, window, OBJID_CLIENT, CHILDID_SELF);
}

// Never shown: Magnifier and other readers of the caret follow it all the same.
void CreateCalendarCaret(HWND window, const CalendarFlyout* flyout) {
    const RECT cell = CalendarCellRect(flyout, 0);
    if (CreateCaret(window, nullptr, cell.right - cell.left, cell.bottom - cell.top)) {
        MoveCaret(flyout);
    }
    NotifyWinEvent(EVENT_OBJECT_FOCUS, window, OBJID_CLIENT, SelectedChild(flyout));
}

void ReleaseCalendarAccessibility(CalendarFlyout* flyout) {
    DestroyCaret();
    if (flyout->accessibility != nullptr) {
        FreeAccessibility(flyout->accessibility);
        flyout->accessibility = nullptr;
    }
}
