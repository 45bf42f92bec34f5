#pragma once

#include <windows.h>

#include <oleacc.h>

#include <atomic>
#include <optional>
#include <vector>

namespace toolkit {

class PaintedControl;

// One thing of a form that assistive technology sees: a painted control or a child window.
struct AccessibleElement {
    const PaintedControl* painted;  // null for a child window
    HWND window;                    // null for a painted control
    RECT bounds;                    // in pixels of the client area
};

// What the object below reads of a form's client area: its elements, numbered from 1 in
// reading order (0 stands for the client area itself), and what acts on them.
class AccessibleModel {
  public:
    AccessibleModel(const AccessibleModel&) = delete;
    AccessibleModel& operator=(const AccessibleModel&) = delete;

    virtual HWND Window() const noexcept = 0;
    virtual std::vector<AccessibleElement> Elements() const = 0;
    // The element at a client point: 0 when none lies there.
    virtual long ElementAt(POINT point) const = 0;
    // The child window that has the focus, or 0 when the form itself has it; nothing when
    // neither has.
    virtual std::optional<long> FocusedElement() const = 0;
    // Whether anything on the form may act now: not while a message box of the program is open.
    virtual bool TakesInput() const = 0;
    // Raises the control's Click once the caller of this has had its answer.
    virtual void PerformDefaultAction(const PaintedControl& control) = 0;

  protected:
    AccessibleModel() = default;
    ~AccessibleModel() = default;
};

// The object that assistive technology reads a form's client area through (WM_GETOBJECT).
// Its children, numbered from 1, are the elements of its model: painted controls it describes
// itself, child windows through the system's own objects for them.
// It lives in the window thread's single-threaded apartment, where every call reaches it on
// that thread. No error leaves it: a method that fails answers with an error code.
// Its model disconnects it when the window goes; from then on every call fails with
// CO_E_OBJNOTCONNECTED, so a client that still holds it never reaches the freed form.
class ClientAccessible final : public IAccessible {
  public:
    explicit ClientAccessible(AccessibleModel& model) noexcept : model_(&model) {}
    ClientAccessible(const ClientAccessible&) = delete;
    ClientAccessible& operator=(const ClientAccessible&) = delete;

    // The answer to WM_GETOBJECT for the client area: a reference for the asking client.
    LRESULT HandOut(WPARAM wParam);
    // Forgets the model and cuts off the clients of other processes.
    void Disconnect() noexcept;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // Clients call IAccessible directly; late binding through IDispatch is not offered.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                     DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argumentError) override;

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* helpFile, VARIANT child, long* topic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

  private:
    struct Target;
    template <typename Result>
    using SystemGetter = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, Result*);

    ~ClientAccessible() = default;

    HRESULT Find(const VARIANT& child, Target& target) const;
    template <typename ChildAnswer>
    HRESULT WithChild(const VARIANT& child, const ChildAnswer& answer) const;
    template <typename ChildAnswer>
    HRESULT AboutChild(const VARIANT& child, const ChildAnswer& answer) const;
    template <typename Result, typename PaintedAnswer>
    HRESULT Answer(const VARIANT& child, Result* result, SystemGetter<Result> getter,
                   const PaintedAnswer& painted) const;
    HRESULT ElementAsVariant(long id, VARIANT* result) const;

    std::atomic<ULONG> references_{1};
    AccessibleModel* model_;
};

}  // namespace toolkit
