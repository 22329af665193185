#include "platform/framework/dialog.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/framework/message_loop.h"
#include "platform/framework/win_app.h"

namespace {

// Set while CreateDialogIndirectParamA runs: the first message the dialog procedure receives
// for a window no CWnd has adopts it, so that everything after (WM_INITDIALOG included) goes
// through the dialog's message map.
thread_local CDialog* g_dialogBeingCreated = nullptr;

class DialogCreationScope {
public:
    explicit DialogCreationScope(CDialog* dialog) : m_previous(g_dialogBeingCreated) {
        g_dialogBeingCreated = dialog;
    }
    ~DialogCreationScope() { g_dialogBeingCreated = m_previous; }
    DialogCreationScope(const DialogCreationScope&) = delete;
    DialogCreationScope& operator=(const DialogCreationScope&) = delete;

private:
    CDialog* m_previous;
};

struct TemplateFacts {
    bool valid = false;
    DWORD style = 0;
    int x = 0;
    int y = 0;
};

template <class T>
T ReadAt(const std::uint8_t* data, std::size_t offset) {
    T value;
    std::memcpy(&value, data + offset, sizeof value);
    return value;
}

// The style and position of a DLGTEMPLATE or DLGTEMPLATEEX (the extended form starts with
// version 1 and the signature 0xFFFF).
TemplateFacts ReadTemplate(const void* data, DWORD size) {
    TemplateFacts facts;
    if (data == nullptr) {
        return facts;
    }
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    constexpr std::size_t kExtendedHeader = 26;
    constexpr std::size_t kHeader = 18;
    if (size >= 4 && ReadAt<WORD>(bytes, 0) == 1 && ReadAt<WORD>(bytes, 2) == 0xFFFF) {
        if (size < kExtendedHeader) {
            return facts;
        }
        facts.style = ReadAt<DWORD>(bytes, 12);
        facts.x = ReadAt<std::int16_t>(bytes, 18);
        facts.y = ReadAt<std::int16_t>(bytes, 20);
    } else {
        if (size < kHeader) {
            return facts;
        }
        facts.style = ReadAt<DWORD>(bytes, 0);
        facts.x = ReadAt<std::int16_t>(bytes, 10);
        facts.y = ReadAt<std::int16_t>(bytes, 12);
    }
    facts.valid = true;
    return facts;
}

CDialog* AdoptDialogBeingCreated(HWND hDlg) {
    CDialog* dialog = g_dialogBeingCreated;
    if (dialog == nullptr || dialog->m_hWnd != nullptr) {
        return nullptr;
    }
    g_dialogBeingCreated = nullptr;
    return dialog->SubclassWindow(hDlg) ? dialog : nullptr;
}

}  // namespace

INT_PTR CALLBACK FrameworkDialogProc(HWND hDlg, UINT message, WPARAM, LPARAM) {
    auto* dialog = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(hDlg));
    if (dialog == nullptr) {
        dialog = AdoptDialogBeingCreated(hDlg);
    }
    if (dialog == nullptr || message != WM_INITDIALOG) {
        return FALSE;
    }
    return dialog->HandleInitDialog();
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_pParentWnd(pParentWnd), m_nIDTemplate(nIDTemplate) {}

const MessageMap& CDialog::GetMessageMap() const {
    static const MessageMap map = MessageMap::Derived<CDialog>(CWnd::GetMessageMap())
                                      .OnCommand(IDOK, &CDialog::OnOK)
                                      .OnCommand(IDCANCEL, &CDialog::OnCancel);
    return map;
}

HWND CDialog::CreateFromTemplate(UINT nIDTemplate, HWND hWndParent) {
    const HINSTANCE instance = AfxGetResourceHandle();
    const HRSRC found = ::FindResourceA(instance, MAKEINTRESOURCEA(nIDTemplate), RT_DIALOG);
    if (found == nullptr) {
        return nullptr;
    }
    const void* data = ::LockResource(::LoadResource(instance, found));
    const TemplateFacts facts = ReadTemplate(data, ::SizeofResource(instance, found));
    if (!facts.valid) {
        return nullptr;
    }
    // The dialog manager places DS_CENTER and its kin itself.
    m_centreAfterInit = facts.x == 0 && facts.y == 0 &&
                        (facts.style & (DS_CENTER | DS_CENTERMOUSE | DS_ABSALIGN)) == 0;
    HWND created = nullptr;
    {
        DialogCreationScope scope(this);
        created =
            ::CreateDialogIndirectParamA(instance, static_cast<LPCDLGTEMPLATEA>(data), hWndParent,
                                         &FrameworkDialogProc, reinterpret_cast<LPARAM>(this));
    }
    // A dialog manager that never called the dialog procedure still gets a mapped dialog.
    if (created != nullptr && m_hWnd == nullptr && CWnd::FromHandlePermanent(created) == nullptr) {
        SubclassWindow(created);
    }
    return m_hWnd;
}

BOOL CDialog::HandleInitDialog() {
    const DWORD styleBefore = GetStyle();
    CRect before;
    GetWindowRect(before);
    const BOOL result = OnInitDialog();
    if (m_hWnd == nullptr || !m_centreAfterInit) {
        return result;
    }
    CRect after;
    GetWindowRect(after);
    const HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    const bool placedByInit = after.left != before.left || after.top != before.top;
    const bool shown = ((styleBefore | GetStyle()) & WS_VISIBLE) != 0;
    const bool child = (GetStyle() & WS_CHILD) != 0;
    if (!placedByInit && !shown && !child && (owner == nullptr || !::IsWindowEnabled(owner))) {
        CenterWindow();
    }
    return result;
}

HWND CDialog::ModalOwner() const {
    HWND parent = m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : nullptr;
    if (parent == nullptr) {
        const CWnd* main = AfxGetMainWnd();
        if (main != nullptr && main != this) {
            parent = main->m_hWnd;
        }
    }
    if (parent == nullptr || !::IsWindow(parent)) {
        return nullptr;
    }
    return ::GetAncestor(parent, GA_ROOT);
}

INT_PTR CDialog::DoModal() {
    if (m_hWnd != nullptr || m_inModalLoop) {
        return -1;
    }
    const HWND owner = ModalOwner();
    const bool disabledOwner = owner != nullptr && ::IsWindowEnabled(owner);
    if (disabledOwner) {
        ::EnableWindow(owner, FALSE);
    }
    m_modalResult = -1;
    m_inModalLoop = true;
    m_continueModal = true;
    if (CreateFromTemplate(m_nIDTemplate, owner) != nullptr && m_continueModal) {
        // Like the system's modal loop: a dialog that is not visible yet appears once the
        // queue is empty, after its first messages have been handled.
        bool showWhenIdle = (GetStyle() & WS_VISIBLE) == 0;
        const framework::LoopEnd end = framework::RunMessageLoop(
            [this] { return m_continueModal && m_hWnd != nullptr && ::IsWindow(m_hWnd); },
            [this, &showWhenIdle] {
                if (showWhenIdle && m_hWnd != nullptr) {
                    showWhenIdle = false;
                    ShowWindow(SW_SHOWNORMAL);
                    UpdateWindow();
                }
            });
        if (end.quit) {
            ::PostQuitMessage(end.exitCode);
        }
    }
    m_inModalLoop = false;
    m_continueModal = false;
    const INT_PTR result = m_modalResult;

    // The owner is enabled before the dialog goes, so that activation can return to it.
    const bool wasActive = m_hWnd != nullptr && ::GetActiveWindow() == m_hWnd;
    if (disabledOwner) {
        ::EnableWindow(owner, TRUE);
    }
    if (m_hWnd != nullptr) {
        SetWindowPos(nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (wasActive && owner != nullptr) {
        ::SetActiveWindow(owner);
    }
    if (m_hWnd != nullptr) {
        DestroyWindow();  // may delete this (PostNcDestroy)
    }
    return result;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
    if (m_hWnd != nullptr) {
        return FALSE;
    }
    m_nIDTemplate = nIDTemplate;
    m_pParentWnd = pParentWnd;
    HWND parent = pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr;
    if (parent == nullptr) {
        const CWnd* main = AfxGetMainWnd();
        if (main != nullptr && main != this) {
            parent = main->m_hWnd;
        }
    }
    return CreateFromTemplate(nIDTemplate, parent) != nullptr;
}

void CDialog::EndDialog(int nResult) {
    if (m_inModalLoop) {
        m_modalResult = nResult;
        if (m_continueModal) {
            m_continueModal = false;
            // Wakes a loop that is waiting, when EndDialog comes from outside a message.
            if (m_hWnd != nullptr) {
                ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
            }
        }
        return;
    }
    if (m_hWnd != nullptr) {
        ::EndDialog(m_hWnd, nResult);
    }
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) {
        return;
    }
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    if (pMsg == nullptr || m_hWnd == nullptr) {
        return FALSE;
    }
    const bool key = pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST;
    const bool mouse = pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST;
    if (!key && !mouse) {
        return FALSE;
    }
    if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd)) {
        return FALSE;
    }
    return ::IsDialogMessageA(m_hWnd, pMsg);
}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl) {
    if (pWndCtrl != nullptr && pWndCtrl->m_hWnd != nullptr) {
        SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pWndCtrl->m_hWnd), TRUE);
    }
}

void CDialog::NextDlgCtrl() const {
    SendMessage(WM_NEXTDLGCTL, 0, FALSE);
}

void CDialog::PrevDlgCtrl() const {
    SendMessage(WM_NEXTDLGCTL, 1, FALSE);
}

void CDialog::SetDefID(UINT nID) {
    SendMessage(DM_SETDEFID, nID, 0);
}

DWORD CDialog::GetDefID() const {
    return static_cast<DWORD>(SendMessage(DM_GETDEFID, 0, 0));
}
