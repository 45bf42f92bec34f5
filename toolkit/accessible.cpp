#include "toolkit/accessible.h"

#include "toolkit/controls.h"
#include "toolkit/run_time_error.h"
#include "toolkit/system_functions.h"

#include <wrl/client.h>

namespace toolkit {

using Microsoft::WRL::ComPtr;

namespace {

// Runs the body of a method so that no error leaves it for the system's code (oleacc, the COM
// stubs): an exhausted heap answers E_OUTOFMEMORY, anything else E_FAIL.
template <typename Body>
HRESULT Answered(const Body& body) noexcept {
    try {
        return body();
    } catch (...) {
        return ErrorInFlight().Number() == kOutOfMemory ? E_OUTOFMEMORY : E_FAIL;
    }
}

// A VARIANT is made empty by zeroing it, as VariantInit does, so that oleaut32 is not needed
// for that.
VARIANT ChildId(long id) {
    VARIANT child{};
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

// The system's own object for a window's client area.
HRESULT SystemObject(HWND window, ComPtr<IAccessible>& object) {
    return OleAcc()
        .CreateStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible),
                                   reinterpret_cast<void**>(object.ReleaseAndGetAddressOf()))
        .value_or(E_FAIL);
}

// Text for a client: S_FALSE and no string when there is none.
HRESULT CopyText(const std::wstring& text, BSTR* result) {
    if (text.empty()) {
        return S_FALSE;
    }
    *result =
        OleAut32().SysAllocStringLen(text.data(), static_cast<UINT>(text.size())).value_or(nullptr);
    return *result != nullptr ? S_OK : E_OUTOFMEMORY;
}

// A painted control has no value, description, help or keyboard shortcut.
HRESULT NoText(const PaintedControl& /*control*/, BSTR* /*result*/) {
    return S_FALSE;
}

}  // namespace

// What a call naming a child is about: a painted control this object describes, or an object
// of the system's that answers for the client area itself or for a child window.
struct ClientAccessible::Target {
    const AccessibleElement* element = nullptr;
    ComPtr<IAccessible> system;  // asked about CHILDID_SELF
    std::vector<AccessibleElement> elements;

    const PaintedControl* Painted() const {
        return element != nullptr ? element->painted : nullptr;
    }
};

LRESULT ClientAccessible::HandOut(WPARAM wParam) {
    // Without oleacc the answer is the one the system gives when a window has none.
    return OleAcc().LresultFromObject(__uuidof(IAccessible), wParam, this).value_or(0);
}

void ClientAccessible::Disconnect() noexcept {
    model_ = nullptr;
    // Releases the references that the stubs of other processes' clients hold.
    Ole32().CoDisconnectObject(this, 0);
}

HRESULT ClientAccessible::Find(const VARIANT& child, Target& target) const {
    if (model_ == nullptr) {
        return CO_E_OBJNOTCONNECTED;
    }
    if (child.vt != VT_I4) {
        return E_INVALIDARG;
    }
    if (child.lVal == CHILDID_SELF) {
        return SystemObject(model_->Window(), target.system);
    }
    target.elements = model_->Elements();
    if (child.lVal < 1 || child.lVal > static_cast<long>(target.elements.size())) {
        return E_INVALIDARG;
    }
    target.element = &target.elements[static_cast<std::size_t>(child.lVal - 1)];
    return target.element->painted != nullptr ? S_OK
                                              : SystemObject(target.element->window, target.system);
}

// `answer` is given what `child` names; a child that is not there, or a disconnected object,
// answers why instead.
template <typename ChildAnswer>
HRESULT ClientAccessible::WithChild(const VARIANT& child, const ChildAnswer& answer) const {
    Target target;
    const HRESULT found = Find(child, target);
    return FAILED(found) ? found : answer(target);
}

// The same, for a call that enters the object: under Answered.
template <typename ChildAnswer>
HRESULT ClientAccessible::AboutChild(const VARIANT& child, const ChildAnswer& answer) const {
    return Answered([&] { return WithChild(child, answer); });
}

HRESULT ClientAccessible::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG ClientAccessible::AddRef() {
    return ++references_;
}

ULONG ClientAccessible::Release() {
    const ULONG remaining = --references_;
    if (remaining == 0) {
        delete this;
    }
    return remaining;
}

HRESULT ClientAccessible::GetTypeInfoCount(UINT* count) {
    if (count == nullptr) {
        return E_POINTER;
    }
    *count = 0;
    return S_OK;
}

HRESULT ClientAccessible::GetTypeInfo(UINT /*index*/, LCID /*locale*/, ITypeInfo** info) {
    if (info != nullptr) {
        *info = nullptr;
    }
    return E_NOTIMPL;
}

HRESULT ClientAccessible::GetIDsOfNames(REFIID /*iid*/, LPOLESTR* /*names*/, UINT /*count*/,
                                        LCID /*locale*/, DISPID* /*ids*/) {
    return E_NOTIMPL;
}

HRESULT ClientAccessible::Invoke(DISPID /*id*/, REFIID /*iid*/, LCID /*locale*/, WORD /*flags*/,
                                 DISPPARAMS* /*parameters*/, VARIANT* /*result*/,
                                 EXCEPINFO* /*exception*/, UINT* /*argumentError*/) {
    return E_NOTIMPL;
}

HRESULT ClientAccessible::get_accParent(IDispatch** parent) {
    if (parent == nullptr) {
        return E_POINTER;
    }
    *parent = nullptr;
    return AboutChild(ChildId(CHILDID_SELF),
                      [&](const Target& target) { return target.system->get_accParent(parent); });
}

HRESULT ClientAccessible::get_accChildCount(long* count) {
    if (count == nullptr) {
        return E_POINTER;
    }
    *count = 0;
    return Answered([&] {
        if (model_ == nullptr) {
            return CO_E_OBJNOTCONNECTED;
        }
        *count = static_cast<long>(model_->Elements().size());
        return S_OK;
    });
}

HRESULT ClientAccessible::get_accChild(VARIANT child, IDispatch** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    return AboutChild(child, [&](const Target& target) {
        if (target.element == nullptr) {
            return QueryInterface(__uuidof(IDispatch), reinterpret_cast<void**>(object));
        }
        // A painted control is a simple element: the client asks this object about it.
        if (target.Painted() != nullptr) {
            return S_FALSE;
        }
        return target.system.CopyTo(object);
    });
}

// Answers a question about `child` that every element answers: the system's objects for the
// client area itself and for child windows, `painted` for a painted control.
template <typename Result, typename PaintedAnswer>
HRESULT ClientAccessible::Answer(const VARIANT& child, Result* result, SystemGetter<Result> getter,
                                 const PaintedAnswer& painted) const {
    if (result == nullptr) {
        return E_POINTER;
    }
    *result = Result{};
    return AboutChild(child, [&](const Target& target) {
        if (target.system) {
            return (target.system.Get()->*getter)(ChildId(CHILDID_SELF), result);
        }
        return painted(*target.Painted(), result);
    });
}

HRESULT ClientAccessible::get_accName(VARIANT child, BSTR* name) {
    return Answer(child, name, &IAccessible::get_accName,
                  [](const PaintedControl& control, BSTR* result) {
                      return CopyText(control.AccessibleName(), result);
                  });
}

HRESULT ClientAccessible::get_accValue(VARIANT child, BSTR* value) {
    return Answer(child, value, &IAccessible::get_accValue, NoText);
}

HRESULT ClientAccessible::get_accDescription(VARIANT child, BSTR* description) {
    return Answer(child, description, &IAccessible::get_accDescription, NoText);
}

HRESULT ClientAccessible::get_accHelp(VARIANT child, BSTR* help) {
    return Answer(child, help, &IAccessible::get_accHelp, NoText);
}

HRESULT ClientAccessible::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
    return Answer(child, shortcut, &IAccessible::get_accKeyboardShortcut, NoText);
}

HRESULT ClientAccessible::get_accDefaultAction(VARIANT child, BSTR* action) {
    return Answer(child, action, &IAccessible::get_accDefaultAction,
                  [](const PaintedControl& control, BSTR* result) {
                      return CopyText(control.Accessible().defaultAction, result);
                  });
}

HRESULT ClientAccessible::get_accRole(VARIANT child, VARIANT* role) {
    return Answer(child, role, &IAccessible::get_accRole,
                  [](const PaintedControl& control, VARIANT* result) {
                      *result = ChildId(control.Accessible().role);
                      return S_OK;
                  });
}

HRESULT ClientAccessible::get_accState(VARIANT child, VARIANT* state) {
    return Answer(child, state, &IAccessible::get_accState,
                  [this](const PaintedControl& control, VARIANT* result) {
                      long flags = 0;
                      switch (control.Accessible().role) {
                          case ROLE_SYSTEM_STATICTEXT:
                              flags = STATE_SYSTEM_READONLY;
                              break;
                          case ROLE_SYSTEM_LINK:
                              flags = STATE_SYSTEM_LINKED;
                              break;
                          default:
                              break;
                      }
                      // While a message box of the program is open, nothing on the form acts.
                      if (!model_->TakesInput()) {
                          flags |= STATE_SYSTEM_UNAVAILABLE;
                      }
                      *result = ChildId(flags);
                      return S_OK;
                  });
}

HRESULT ClientAccessible::get_accHelpTopic(BSTR* helpFile, VARIANT child, long* topic) {
    if (helpFile == nullptr || topic == nullptr) {
        return E_POINTER;
    }
    *helpFile = nullptr;
    *topic = 0;
    return AboutChild(child, [](const Target& /*target*/) { return DISP_E_MEMBERNOTFOUND; });
}

HRESULT ClientAccessible::ElementAsVariant(long id, VARIANT* result) const {
    if (id == CHILDID_SELF) {
        *result = ChildId(id);
        return S_OK;
    }
    // Only ever asked inside a call that is already under Answered.
    return WithChild(ChildId(id), [&](const Target& target) {
        if (target.Painted() != nullptr) {
            *result = ChildId(id);
            return S_OK;
        }
        result->vt = VT_DISPATCH;
        return target.system.CopyTo(&result->pdispVal);
    });
}

HRESULT ClientAccessible::get_accFocus(VARIANT* focus) {
    if (focus == nullptr) {
        return E_POINTER;
    }
    *focus = VARIANT{};
    return Answered([&] {
        if (model_ == nullptr) {
            return CO_E_OBJNOTCONNECTED;
        }
        const std::optional<long> focused = model_->FocusedElement();
        return focused ? ElementAsVariant(*focused, focus) : S_FALSE;
    });
}

HRESULT ClientAccessible::get_accSelection(VARIANT* selection) {
    if (selection == nullptr) {
        return E_POINTER;
    }
    *selection = VARIANT{};
    return model_ == nullptr ? CO_E_OBJNOTCONNECTED : S_FALSE;
}

HRESULT ClientAccessible::accSelect(long flags, VARIANT child) {
    return AboutChild(child, [&](const Target& target) {
        return target.system ? target.system->accSelect(flags, ChildId(CHILDID_SELF))
                             : DISP_E_MEMBERNOTFOUND;
    });
}

HRESULT ClientAccessible::accLocation(long* left, long* top, long* width, long* height,
                                      VARIANT child) {
    if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) {
        return E_POINTER;
    }
    *left = *top = *width = *height = 0;
    return AboutChild(child, [&](const Target& target) {
        if (target.system) {
            return target.system->accLocation(left, top, width, height, ChildId(CHILDID_SELF));
        }
        const RECT& bounds = target.element->bounds;
        POINT topLeft{bounds.left, bounds.top};
        ClientToScreen(model_->Window(), &topLeft);
        *left = topLeft.x;
        *top = topLeft.y;
        *width = bounds.right - bounds.left;
        *height = bounds.bottom - bounds.top;
        return S_OK;
    });
}

HRESULT ClientAccessible::accNavigate(long direction, VARIANT start, VARIANT* end) {
    if (end == nullptr) {
        return E_POINTER;
    }
    *end = VARIANT{};
    return AboutChild(start, [&](const Target& target) {
        const long count = static_cast<long>(model_->Elements().size());
        long id = 0;
        if (target.element == nullptr) {
            if (direction != NAVDIR_FIRSTCHILD && direction != NAVDIR_LASTCHILD) {
                return target.system->accNavigate(direction, start, end);
            }
            id = direction == NAVDIR_FIRSTCHILD ? 1 : count;
        } else if (direction == NAVDIR_NEXT || direction == NAVDIR_PREVIOUS) {
            id = start.lVal + (direction == NAVDIR_NEXT ? 1 : -1);
        } else {
            return DISP_E_MEMBERNOTFOUND;
        }
        return id >= 1 && id <= count ? ElementAsVariant(id, end) : S_FALSE;
    });
}

HRESULT ClientAccessible::accHitTest(long x, long y, VARIANT* child) {
    if (child == nullptr) {
        return E_POINTER;
    }
    *child = VARIANT{};
    return Answered([&] {
        if (model_ == nullptr) {
            return CO_E_OBJNOTCONNECTED;
        }
        const HWND window = model_->Window();
        POINT point{x, y};
        ScreenToClient(window, &point);
        RECT client{};
        GetClientRect(window, &client);
        if (!PtInRect(&client, point)) {
            return S_FALSE;
        }
        return ElementAsVariant(model_->ElementAt(point), child);
    });
}

HRESULT ClientAccessible::accDoDefaultAction(VARIANT child) {
    return AboutChild(child, [&](const Target& target) {
        if (target.system) {
            return target.system->accDoDefaultAction(ChildId(CHILDID_SELF));
        }
        if (target.Painted()->Accessible().defaultAction.empty()) {
            return DISP_E_MEMBERNOTFOUND;
        }
        // While a message box of the program is open, nothing on the form acts.
        if (!model_->TakesInput()) {
            return E_ACCESSDENIED;
        }
        model_->PerformDefaultAction(*target.Painted());
        return S_OK;
    });
}

HRESULT ClientAccessible::put_accName(VARIANT /*child*/, BSTR /*name*/) {
    return E_NOTIMPL;
}

HRESULT ClientAccessible::put_accValue(VARIANT /*child*/, BSTR /*value*/) {
    return E_NOTIMPL;
}

}  // namespace toolkit
