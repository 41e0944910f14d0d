#include "diagnostics/Diagnosis_win32.h"

#include "common/LanguageText.h"
#include "platform/Messages.h"
#include "res/resource.h"
#include "win/Dpi.h"

#include <commdlg.h>
#include <windowsx.h>

#include <algorithm>
#include <cwchar>

namespace {

constexpr COLORREF kFrameColour = RGB(96, 96, 96);
constexpr COLORREF kGoodLedColour = RGB(0, 160, 0);
constexpr COLORREF kBadLedColour = RGB(224, 0, 0);
constexpr UINT_PTR kStepTimerId = 1;
constexpr int kButtonIds[] = {IDC_DIAGNOSIS_RUN, IDC_DIAGNOSIS_EXPORT, IDC_DIAGNOSIS_CLOSE};
// Room for a long path; the proposed name is short.
constexpr DWORD kPathCharacters = 1024;

} // namespace

const MessageEntry CDiagnosis::kEntries[] = {
    OnMessage<&CDiagnosis::OnDestroy>(WM_DESTROY),
    OnMessage<&CDiagnosis::OnPaint>(WM_PAINT),
    OnMessage<&CDiagnosis::OnMouseMove>(WM_MOUSEMOVE),
    OnMessage<&CDiagnosis::OnMouseLeave>(WM_MOUSELEAVE),
    OnMessage<&CDiagnosis::OnTimer>(WM_TIMER),
    OnMessage<&CDiagnosis::OnTouchScreenRemoved>(WM_TOUCHSCREEN_REMOVED),
    OnRecord<&CDiagnosis::OnOpeningReply>(WM_OPENING_REPLY),
    OnRecord<&CDiagnosis::OnLevelReply>(WM_DIAGNOSTICS_HEADER_REPLY),
    OnRecord<&CDiagnosis::OnStatusReply>(WM_DIAGNOSTICS_DATA_REPLY),
    OnCommand<&CDiagnosis::OnRun>(IDC_DIAGNOSIS_RUN, BN_CLICKED),
    OnCommand<&CDiagnosis::OnExport>(IDC_DIAGNOSIS_EXPORT, BN_CLICKED),
    // Close is IDOK: the base class ends the dialog with it.
};
const MessageTable CDiagnosis::kMessageTable = MakeMessageTable(&CThemedDialog::kMessageTable, kEntries);

CDiagnosis::CDiagnosis(DiagnosisServices services) : CDialogImpl(IDD_DIAGNOSIS), m_panel(std::move(services), *this) {}

CDiagnosis::~CDiagnosis() { m_panel.Close(); }

bool CDiagnosis::OnInitDialog()
{
    for (std::size_t i = 0; i < m_buttons.size(); ++i)
        m_buttons[i].SubclassDlgItem(kButtonIds[i], m_hWnd);
    m_list.Attach(GetDlgItem(IDC_DIAGNOSIS_LIST));
    SetDlgItemText(IDC_DIAGNOSIS_GROUP, GetLanguageText(DiagnosisText::Title));
    SetDlgItemText(IDC_DIAGNOSIS_RUN, GetLanguageText(DiagnosisText::Diagnose));
    SetDlgItemText(IDC_DIAGNOSIS_CLOSE, GetLanguageText(DiagnosisText::Close));
    SetDlgItemText(IDC_DIAGNOSIS_EXPORT, GetLanguageText(DiagnosisText::Export));
    m_panel.Open(m_hWnd);
    return true;
}

// ---- IDiagnosisView

void CDiagnosis::SetTitle(const std::wstring& title) { SetWindowText(title); }

void CDiagnosis::ShowLines(const std::vector<std::wstring>& lines)
{
    // One repaint for the whole list, however long.
    m_list.SendMessage(WM_SETREDRAW, FALSE);
    m_list.ResetContent();
    std::size_t characters = 0;
    for (const std::wstring& line : lines)
        characters += line.size() + 1;
    m_list.Reserve(static_cast<int>(lines.size()), characters * sizeof(wchar_t));
    for (const std::wstring& line : lines)
        m_list.AddString(line);
    m_list.SendMessage(WM_SETREDRAW, TRUE);
    m_list.Invalidate();
}

void CDiagnosis::FocusList() { m_list.SetFocus(); }

void CDiagnosis::EnableDiagnose(bool enable) { EnableDlgItem(IDC_DIAGNOSIS_RUN, enable); }

void CDiagnosis::EnableExport(bool enable) { EnableDlgItem(IDC_DIAGNOSIS_EXPORT, enable); }

void CDiagnosis::ShowMessage(const std::wstring& text)
{
    ::MessageBoxW(m_hWnd, text.c_str(), GetLanguageText(kProgramTitleKey).c_str(), MB_OK);
}

void CDiagnosis::StartTimer(unsigned milliseconds) { ::SetTimer(m_hWnd, kStepTimerId, milliseconds, nullptr); }

void CDiagnosis::StopTimer()
{
    if (m_hWnd)
        ::KillTimer(m_hWnd, kStepTimerId);
}

std::optional<std::wstring> CDiagnosis::ChooseReportPath(const std::wstring& name)
{
    std::wstring path(kPathCharacters, L'\0');
    path.replace(0, std::min<std::size_t>(name.size(), kPathCharacters - 1), name);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = m_hWnd;
    dialog.lpstrFilter = L"Text File(*.txt)\0*.txt\0";
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = kPathCharacters;
    dialog.lpstrDefExt = L"txt";
    // The proposed name is a new file: it need not exist; an existing one is
    // replaced only after the user agreed.
    dialog.Flags = OFN_OVERWRITEPROMPT;
    if (!::GetSaveFileNameW(&dialog))
        return std::nullopt;
    path.resize(path.find(L'\0'));
    return path;
}

void CDiagnosis::ShowLedPicture(const CLedScan& scan)
{
    RECT area{};
    ::GetWindowRect(GetDlgItem(IDC_DIAGNOSIS_PICTURE), &area);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&area), 2);
    m_picture = LayOutLedPicture(scan, {area.left, area.top, area.right, area.bottom}, WindowDpi(m_hWnd));
    ShowHoveredLed(std::nullopt);
    ::InvalidateRect(m_hWnd, &area, TRUE);
}

// ---- messages

void CDiagnosis::OnPaint()
{
    CPaintDC dc(m_hWnd);
    if (!m_picture.marks.empty()) {
        // The pen and brushes are made before and deleted after their
        // selection: an object still selected into the context is not deleted.
        CPen framePen(::CreatePen(PS_SOLID, ScaleForWindow(m_hWnd, 1), kFrameColour));
        CBrush good(::CreateSolidBrush(kGoodLedColour)), bad(::CreateSolidBrush(kBadLedColour));
        CSelectObject pen(dc, framePen.Get());
        CSelectObject noFill(dc, ::GetStockObject(NULL_BRUSH));
        const PixelRect& frame = m_picture.frame;
        ::Rectangle(dc, frame.left, frame.top, frame.right, frame.bottom);
        // The bad ones last: where marks overlap, a bad LED stays visible.
        for (bool drawBad : {false, true})
            for (const LedMark& mark : m_picture.marks)
                if (mark.bad == drawBad) {
                    const RECT r{mark.mark.left, mark.mark.top, mark.mark.right, mark.mark.bottom};
                    ::FillRect(dc, &r, drawBad ? bad.Get() : good.Get());
                }
    }
}

void CDiagnosis::OnMouseMove(WPARAM, LPARAM point)
{
    if (!m_trackingLeave) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, m_hWnd, 0};
        m_trackingLeave = ::TrackMouseEvent(&track) != FALSE;
    }
    ShowHoveredLed(LedNumberAt(m_picture, GET_X_LPARAM(point), GET_Y_LPARAM(point)));
}

void CDiagnosis::OnMouseLeave()
{
    m_trackingLeave = false;
    ShowHoveredLed(std::nullopt);
}

void CDiagnosis::ShowHoveredLed(std::optional<std::int32_t> number)
{
    if (number == m_hovered)
        return;
    m_hovered = number;
    std::wstring text;
    if (number) {
        // The LED's number as its line in the list shows it, and its state.
        wchar_t digits[16];
        swprintf(digits, 16, L"%03d", *number);
        const bool bad = std::any_of(m_picture.marks.begin(), m_picture.marks.end(),
                                     [&](const LedMark& m) { return m.number == *number && m.bad; });
        text = L"Led " + std::wstring(digits) + (bad ? L"  Bad" : L"  OK");
    }
    SetDlgItemText(IDC_DIAGNOSIS_LED_HOVER, text);
}

void CDiagnosis::OnDestroy()
{
    ::KillTimer(m_hWnd, kStepTimerId);
    m_panel.Close();
}

void CDiagnosis::OnTimer(WPARAM id, LPARAM)
{
    if (id != kStepTimerId)
        return;
    ::KillTimer(m_hWnd, kStepTimerId);
    m_panel.OnStepTimeout();
}

void CDiagnosis::OnTouchScreenRemoved(WPARAM key, LPARAM) { m_panel.OnTouchScreenRemoved(key); }
