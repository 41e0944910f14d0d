#pragma once
// The About box: the picture, the driver's and the control panel's versions
// (fixed texts of the template), the maker's name, the rights lines and the
// web link. Modal; OK closes it.
//
// Its Update button (1057) is never shown. Its command opens the firmware
// update dialog through the callback the opener gives, and closes About:
// the update dialog lives on after it, owned by the opener.

#include "ui/HyperLink_win32.h"
#include "ui/ImageStatic_win32.h"
#include "ui/XPButton_win32.h"
#include "win/GdiObjects.h"
#include "win/ThemedDialog.h"

#include <functional>

// The two versions the box shows.
constexpr wchar_t kDriverVersionText[] = L"2.1.0.0008";
constexpr wchar_t kControlPanelVersionText[] = L"2.1.0.0008";

class CVersion : public CDialogImpl<CVersion, CThemedDialog> {
public:
    explicit CVersion(std::function<void()> openUpdate);

    static const MessageTable kMessageTable;

protected:
    bool OnInitDialog() override;

private:
    static const MessageEntry kEntries[];

    void OnUpdate();

    std::function<void()> m_openUpdate;
    CImageStatic m_picture{false}; // the bitmap unstretched, cut at the frame's edges
    CXPButton m_ok;
    CHyperLink m_link;
};
