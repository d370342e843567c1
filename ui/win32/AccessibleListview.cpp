#include "ui/win32/AccessibleListview.h"

#include <oleacc.h>

#include <memory>
#include <string>

#include "platform/win32/Wide.h"
#include "ui/AccessibleList.h"

namespace nb::ui::win32 {

namespace {

// The interface's own number: the one that -loleacc exports is an import
// thunk under MinGW, which makes every query fail with E_NOINTERFACE.
constexpr GUID kIidAccessible = {0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

LONG RoleOf(AccRole role) {
  switch (role) {
    case AccRole::List: return ROLE_SYSTEM_LIST;
    case AccRole::Grouping: return ROLE_SYSTEM_GROUPING;
    default: return ROLE_SYSTEM_LISTITEM;
  }
}

LONG StateOf(uint32_t states) {
  LONG out = 0;
  if (states & kAccSelected) out |= STATE_SYSTEM_SELECTED;
  if (states & kAccFocused) out |= STATE_SYSTEM_FOCUSED;
  if (states & kAccChecked) out |= STATE_SYSTEM_CHECKED;
  if (states & kAccOffscreen) out |= STATE_SYSTEM_OFFSCREEN;
  if (states & kAccFocusable) out |= STATE_SYSTEM_FOCUSABLE;
  if (states & kAccSelectable) out |= STATE_SYSTEM_SELECTABLE;
  if (states & kAccUnavailable) out |= STATE_SYSTEM_UNAVAILABLE;
  if (states & kAccInvisible) out |= STATE_SYSTEM_INVISIBLE;
  return out;
}

HRESULT BstrOf(const Text& text, BSTR* out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (text.empty()) return S_FALSE;
  const std::wstring wide = nb::win32::ToWide(text);
  *out = ::SysAllocStringLen(wide.c_str(), UINT(wide.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

void ChildOut(int id, VARIANT* out) {
  ::VariantInit(out);
  if (id == AccessibleList::kNone) return;
  out->vt = VT_I4;
  out->lVal = id;
}

}  // namespace

class ListAccessObject final : public IAccessible {
 public:
  ListAccessObject(TEasyListview& list, HWND window) : model_(std::in_place, list), window_(window) {}

  void Disconnect() {
    model_.reset();
    window_ = nullptr;
  }

  // --- IUnknown ---
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualGUID(riid, IID_IUnknown) || IsEqualGUID(riid, IID_IDispatch) || IsEqualGUID(riid, kIidAccessible)) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs_;
    if (left == 0) std::unique_ptr<ListAccessObject> last(this);
    return left;
  }

  // --- IDispatch: not offered; clients use the interface's own methods ---
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // --- IAccessible ---
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    if (!model_) return CO_E_OBJNOTCONNECTED;
    return ::CreateStdAccessibleObject(window_, OBJID_WINDOW, IID_IDispatch, reinterpret_cast<void**>(parent));
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    if (!count) return E_POINTER;
    if (!model_) return CO_E_OBJNOTCONNECTED;
    *count = model_->ChildCount();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    int id = 0;
    if (const HRESULT hr = Child(child, id); FAILED(hr)) return hr;
    return id == AccessibleList::kSelf ? E_INVALIDARG : S_FALSE;  // the children are simple elements
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    return TextOf(child, name, [this](int id) { return model_->Name(id); });
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return TextOf(child, value, [this](int id) { return model_->Value(id); });
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
    return TextOf(child, text, [this](int id) { return model_->Value(id); });
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!role) return E_POINTER;
    ::VariantInit(role);
    int id = 0;
    if (const HRESULT hr = Child(child, id); FAILED(hr)) return hr;
    role->vt = VT_I4;
    role->lVal = RoleOf(model_->Role(id));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (!state) return E_POINTER;
    ::VariantInit(state);
    int id = 0;
    if (const HRESULT hr = Child(child, id); FAILED(hr)) return hr;
    state->vt = VT_I4;
    state->lVal = StateOf(model_->States(id));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override { return Nothing(help); }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
    if (topic) *topic = 0;
    return Nothing(file);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* keys) override { return Nothing(keys); }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    if (!focus) return E_POINTER;
    ::VariantInit(focus);
    if (!model_) return CO_E_OBJNOTCONNECTED;
    ChildOut(model_->FocusedId(), focus);
    return focus->vt == VT_EMPTY ? S_FALSE : S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    if (!selection) return E_POINTER;
    ::VariantInit(selection);
    if (!model_) return CO_E_OBJNOTCONNECTED;
    ChildOut(model_->SelectedId(), selection);
    return selection->vt == VT_EMPTY ? S_FALSE : S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return TextOf(child, action, [this](int id) { return model_->DefaultActionName(id); });
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
    int id = 0;
    if (const HRESULT hr = Child(child, id); FAILED(hr)) return hr;
    if (flags & SELFLAG_TAKEFOCUS) ::SetFocus(window_);
    if (id == AccessibleList::kSelf) return flags & ~SELFLAG_TAKEFOCUS ? E_INVALIDARG : S_OK;
    if (flags & (SELFLAG_TAKESELECTION | SELFLAG_TAKEFOCUS)) model_->Select(id);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
    if (!left || !top || !width || !height) return E_POINTER;
    int id = 0;
    if (const HRESULT hr = Child(child, id); FAILED(hr)) return hr;
    const Bounds where = model_->Location(id);
    POINT origin{where.left, where.top};
    ::ClientToScreen(window_, &origin);
    *left = origin.x;
    *top = origin.y;
    *width = where.width;
    *height = where.height;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    if (!end) return E_POINTER;
    ::VariantInit(end);
    int id = 0;
    if (const HRESULT hr = Child(start, id); FAILED(hr)) return hr;
    AccNav nav;
    switch (direction) {
      case NAVDIR_FIRSTCHILD: nav = AccNav::FirstChild; break;
      case NAVDIR_LASTCHILD: nav = AccNav::LastChild; break;
      case NAVDIR_NEXT:
      case NAVDIR_DOWN: nav = AccNav::Next; break;
      case NAVDIR_PREVIOUS:
      case NAVDIR_UP: nav = AccNav::Previous; break;
      default: return E_NOTIMPL;
    }
    // Siblings of the list itself are its parent's business.
    if (id == AccessibleList::kSelf && (nav == AccNav::Next || nav == AccNav::Previous)) return S_FALSE;
    ChildOut(model_->Navigate(id, nav), end);
    return end->vt == VT_EMPTY ? S_FALSE : S_OK;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override {
    if (!hit) return E_POINTER;
    ::VariantInit(hit);
    if (!model_) return CO_E_OBJNOTCONNECTED;
    POINT p{x, y};
    ::ScreenToClient(window_, &p);
    ChildOut(model_->HitTest(p.x, p.y), hit);
    return hit->vt == VT_EMPTY ? S_FALSE : S_OK;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    int id = 0;
    if (const HRESULT hr = Child(child, id); FAILED(hr)) return hr;
    return model_->DoDefaultAction(id) ? S_OK : DISP_E_MEMBERNOTFOUND;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  // Automation ticks a row by setting its value to "checked" and unticks it
  // with "unchecked"; the row's readable value stays its second column.
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    int id = 0;
    if (const HRESULT hr = Child(child, id); FAILED(hr)) return hr;
    const int length = value ? int(::SysStringLen(value)) : 0;
    const auto is = [&](const wchar_t* word) {
      return ::CompareStringOrdinal(value ? value : L"", length, word, -1, TRUE) == CSTR_EQUAL;
    };
    if (!is(L"checked") && !is(L"unchecked")) return E_INVALIDARG;
    const bool checked = is(L"checked");
    return model_->SetCheck(id, checked) ? S_OK : DISP_E_MEMBERNOTFOUND;
  }

 private:
  ~ListAccessObject() = default;
  friend std::default_delete<ListAccessObject>;

  // The child number a call names, checked against the connection and the list.
  HRESULT Child(const VARIANT& child, int& id) const {
    if (!model_) return CO_E_OBJNOTCONNECTED;
    if (child.vt == VT_EMPTY) {
      id = AccessibleList::kSelf;
      return S_OK;
    }
    if (child.vt != VT_I4 || !model_->Valid(int(child.lVal))) return E_INVALIDARG;
    id = int(child.lVal);
    return S_OK;
  }
  template <typename F>
  HRESULT TextOf(const VARIANT& child, BSTR* out, F text) {
    if (!out) return E_POINTER;
    *out = nullptr;
    int id = 0;
    if (const HRESULT hr = Child(child, id); FAILED(hr)) return hr;
    return BstrOf(text(id), out);
  }
  HRESULT Nothing(BSTR* out) const {
    if (!out) return E_POINTER;
    *out = nullptr;
    return model_ ? S_FALSE : CO_E_OBJNOTCONNECTED;
  }

  ULONG refs_ = 1;
  std::optional<AccessibleList> model_;
  HWND window_;
};

ListAccessibility::ListAccessibility(TEasyListview& list) : list_(list) {}

ListAccessibility::~ListAccessibility() {
  // A screen reader may hold the object longer: from now on it answers nothing.
  if (object_) object_->Disconnect();
}

std::optional<LRESULT> ListAccessibility::Answer(HWND window, WPARAM wParam, LPARAM lParam) {
  if (static_cast<LONG>(lParam) != static_cast<LONG>(OBJID_CLIENT)) return std::nullopt;
  if (!object_) {
    apartment_.emplace();
    object_ = ComRef<ListAccessObject>(std::make_unique<ListAccessObject>(list_, window).release());
  }
  return ::LresultFromObject(kIidAccessible, wParam, static_cast<IAccessible*>(object_.get()));
}

void ListAccessibility::Announce(HWND window, ListChange change, ListPos pos) {
  if (!window) return;
  const AccessibleList model(list_);
  const LONG id = pos.Valid() ? model.IdOf(pos) : CHILDID_SELF;
  switch (change) {
    case ListChange::Focus:
      if (::GetFocus() == window) ::NotifyWinEvent(EVENT_OBJECT_FOCUS, window, OBJID_CLIENT, id);
      break;
    case ListChange::Selection: ::NotifyWinEvent(EVENT_OBJECT_SELECTION, window, OBJID_CLIENT, id); break;
    case ListChange::CheckState: ::NotifyWinEvent(EVENT_OBJECT_STATECHANGE, window, OBJID_CLIENT, id); break;
    case ListChange::Reorder: ::NotifyWinEvent(EVENT_OBJECT_REORDER, window, OBJID_CLIENT, CHILDID_SELF); break;
  }
}

}  // namespace nb::ui::win32
