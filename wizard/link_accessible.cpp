#include "wizard/link_accessible.h"

#include <oleacc.h>

#include <new>

namespace {

// The verb a click on the link runs.
const wchar_t kDefaultAction[] = L"open";

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// The system's object for the static control, with the link's role, state
// and default action put over it. The window may go before the object (a
// client holds it as long as it likes): only the handle is kept.
class LinkAccessible final : public IAccessible {
public:
    LinkAccessible(HWND link, IAccessible* standard) : m_link(link), m_standard(standard) {}
    ~LinkAccessible() { m_standard->Release(); }
    LinkAccessible(const LinkAccessible&) = delete;
    LinkAccessible& operator=(const LinkAccessible&) = delete;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override
    {
        if (object == nullptr)
            return E_POINTER;
        // __uuidof: mingw's IID_IAccessible names oleacc's export, not the value
        if (iid != __uuidof(IUnknown) && iid != __uuidof(IDispatch) && iid != __uuidof(IAccessible)) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&m_refs)); }
    STDMETHODIMP_(ULONG) Release() override
    {
        LONG left = ::InterlockedDecrement(&m_refs);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    // IDispatch, as the system's object answers it
    STDMETHODIMP GetTypeInfoCount(UINT* count) override { return m_standard->GetTypeInfoCount(count); }
    STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override
    {
        return m_standard->GetTypeInfo(index, locale, info);
    }
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override
    {
        return m_standard->GetIDsOfNames(iid, names, count, locale, ids);
    }
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                        VARIANT* result, EXCEPINFO* exception, UINT* badArgument) override
    {
        return m_standard->Invoke(id, iid, locale, flags, params, result, exception, badArgument);
    }

    // IAccessible: what makes it a link
    STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override
    {
        if (!IsSelf(child) || role == nullptr)
            return m_standard->get_accRole(child, role);
        role->vt = VT_I4;
        role->lVal = ROLE_SYSTEM_LINK;
        return S_OK;
    }
    STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override
    {
        HRESULT result = m_standard->get_accState(child, state);
        if (SUCCEEDED(result) && IsSelf(child) && state->vt == VT_I4)
            state->lVal |= STATE_SYSTEM_LINKED;
        return result;
    }
    STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* action) override
    {
        if (!IsSelf(child) || action == nullptr)
            return m_standard->get_accDefaultAction(child, action);
        *action = ::SysAllocString(kDefaultAction);
        return *action != nullptr ? S_OK : E_OUTOFMEMORY;
    }
    STDMETHODIMP accDoDefaultAction(VARIANT child) override
    {
        if (!IsSelf(child))
            return m_standard->accDoDefaultAction(child);
        if (!::IsWindow(m_link))
            return E_FAIL;
        // as a click reports itself; posted, so that the client's call
        // returns before the browser starts
        HWND parent = ::GetParent(m_link);
        int id = ::GetDlgCtrlID(m_link);
        return ::PostMessageW(parent, WM_COMMAND, MAKEWPARAM(id, STN_CLICKED),
                              reinterpret_cast<LPARAM>(m_link))
                   ? S_OK
                   : E_FAIL;
    }

    // IAccessible: the rest, as for the static control
    STDMETHODIMP get_accParent(IDispatch** parent) override { return m_standard->get_accParent(parent); }
    STDMETHODIMP get_accChildCount(LONG* count) override { return m_standard->get_accChildCount(count); }
    STDMETHODIMP get_accChild(VARIANT child, IDispatch** object) override
    {
        return m_standard->get_accChild(child, object);
    }
    STDMETHODIMP get_accName(VARIANT child, BSTR* name) override { return m_standard->get_accName(child, name); }
    STDMETHODIMP get_accValue(VARIANT child, BSTR* value) override
    {
        return m_standard->get_accValue(child, value);
    }
    STDMETHODIMP get_accDescription(VARIANT child, BSTR* text) override
    {
        return m_standard->get_accDescription(child, text);
    }
    STDMETHODIMP get_accHelp(VARIANT child, BSTR* help) override { return m_standard->get_accHelp(child, help); }
    STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override
    {
        return m_standard->get_accHelpTopic(file, child, topic);
    }
    STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override
    {
        return m_standard->get_accKeyboardShortcut(child, shortcut);
    }
    STDMETHODIMP get_accFocus(VARIANT* child) override { return m_standard->get_accFocus(child); }
    STDMETHODIMP get_accSelection(VARIANT* children) override { return m_standard->get_accSelection(children); }
    STDMETHODIMP accSelect(LONG flags, VARIANT child) override { return m_standard->accSelect(flags, child); }
    STDMETHODIMP accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override
    {
        return m_standard->accLocation(left, top, width, height, child);
    }
    STDMETHODIMP accNavigate(LONG direction, VARIANT start, VARIANT* end) override
    {
        return m_standard->accNavigate(direction, start, end);
    }
    STDMETHODIMP accHitTest(LONG x, LONG y, VARIANT* child) override { return m_standard->accHitTest(x, y, child); }
    STDMETHODIMP put_accName(VARIANT child, BSTR name) override { return m_standard->put_accName(child, name); }
    STDMETHODIMP put_accValue(VARIANT child, BSTR value) override
    {
        return m_standard->put_accValue(child, value);
    }

private:
    LONG m_refs = 1;
    HWND m_link;               // not owned
    IAccessible* m_standard;  // owned: one reference
};

}  // namespace

LRESULT LinkAccessibleObject(HWND link, WPARAM flags, LPARAM objectId)
{
    // a 32-bit id, sign-extended into lParam on 64-bit Windows
    if (static_cast<DWORD>(objectId) != static_cast<DWORD>(OBJID_CLIENT))
        return 0;
    IAccessible* standard = nullptr;
    if (FAILED(::CreateStdAccessibleObject(link, OBJID_CLIENT, __uuidof(IAccessible),
                                           reinterpret_cast<void**>(&standard))))
        return 0;
    LinkAccessible* object = new (std::nothrow) LinkAccessible(link, standard);
    if (object == nullptr) {
        standard->Release();
        return 0;
    }
    // the reference holds its own count; a failure (negative) leaves the
    // request to the system's object
    LRESULT reference = ::LresultFromObject(__uuidof(IAccessible), flags, object);
    object->Release();
    return reference > 0 ? reference : 0;
}
