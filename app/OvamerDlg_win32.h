#pragma once
// The main window: the touchscreen list and the buttons of every function.
// What it does is CMainPanel's; this class maps the window's messages to it,
// copies what it decides into the controls, and draws.
//
// Every button opens its function; a double click on the list (or Enter on
// it) shows the selected touchscreen's properties.

#include "app/MainDialogFactories_win32.h"
#include "app/MainPanel.h"
#include "calibration/CalibrateDlg_win32.h"
#include "calibration/DeviceMatchDlg_win32.h"
#include "calibration/MappingClosedRecord.h"
#include "calibration/RegionCalibrationPanel.h"
#include "diagnostics/Diagnosis_win32.h"
#include "ui/ImageStatic_win32.h"
#include "calibration/MessageInfoDlg_win32.h"
#include "ui/XPButton_win32.h"
#include "update/UpdateDlg_win32.h"
#include "win/GdiObjects.h"
#include "win/ImageList.h"
#include "win/ListView.h"
#include "win/ThemedDialog.h"

#include <array>

class COvamerDlg : public CDialogImpl<COvamerDlg, CThemedDialog>,
                   private IMainPanelView,
                   private IRegionCalibrationView {
public:
    explicit COvamerDlg(MainPanelServices services);
    COvamerDlg(MainPanelServices services, MainDialogFactories factories);
    ~COvamerDlg() override;

    const CMainPanel& Panel() const { return m_panel; }
    // The open mapping dialog, or null.
    CDeviceMatchDlg* MappingDialog() const { return m_mapping.get(); }
    // The firmware update dialog while it is open (About's Update opens it).
    CUpdate* UpdateDialog() const { return m_update.get(); }
    // The calibration window open now, or null.
    CCalibrateDlg* Calibration() const { return m_calibration.get(); }
    // The region hint following the pointer, or null.
    MessageInfoDlg* RegionHint() const { return m_regionHint.get(); }

    static const MessageTable kMessageTable;

protected:
    using MouseHookEvent = RegionPointerEvent;
    // The mouse hook's messages: region calibration's drag.
    virtual void OnMouseHookEvent(MouseHookEvent event);

    bool OnInitDialog() override;
    bool PreTranslateMessage(MSG& msg) override;

private:
    static const MessageEntry kEntries[];

    // IMainPanelView
    void ShowTouchScreens(const std::vector<TouchScreenListItem>& items, int selected) override;
    void EnableActions(const MainActions& actions) override;
    void ListReady() override;
    void ShowNote(const std::wstring& text) override;

    void SetLanguageTexts();
    // The list's icons for its DPI.
    void LoadListImages();

    void OnClose();
    void OnDestroy();
    MessageResult OnSetCursor();
    LRESULT OnDeviceChange(WPARAM event, LPARAM data);
    void OnDisplayChange();
    void OnOpeningReply(std::unique_ptr<DeviceReply> reply);
    void OnVersionReply(std::unique_ptr<DeviceReply> reply);
    void OnSerialReply(std::unique_ptr<DeviceReply> reply);
    void OnNumberReadReply(std::unique_ptr<DeviceReply> reply);
    void OnNumberWriteReply(std::unique_ptr<DeviceReply> reply);
    void OnUnregisterNotification(WPARAM, LPARAM notification);
    void OnMappingClosed(std::unique_ptr<MappingClosedRecord> record);
    void OnCalibrationBegin();
    void OnCalibrationEnd(WPARAM result, LPARAM slot);
    void OnMouseDown() { OnMouseHookEvent(MouseHookEvent::Down); }
    void OnMouseUp() { OnMouseHookEvent(MouseHookEvent::Up); }
    void OnMouseMove() { OnMouseHookEvent(MouseHookEvent::Move); }
    void OnMappingEnd();
    void OnMapping();
    void OnRefreshList();
    void OnSaveMappingFailed();
    void OnHelp();
    void OnSettings();
    void OnDiagnostics();
    void OnListItemChanged(NMHDR& header);
    void OnListDoubleClick(NMHDR&);
    void OnAbout();
    // The TouchScreen Properties box of the selected touchscreen, when one is selected.
    void OpenProperties();
    // The update dialog, modeless without a parent; this dialog owns it.
    void OpenUpdate();
    void OnUpdateEnded();
    void OnCalibrate();
    void OnRegionCalibrate();
    // Opens the calibration window over the rectangle (screen pixels).
    void OpenCalibration(unsigned slot, const ScreenRect& rect, bool instructions);
    void CloseRegionSelection();
    // A full-screen window (calibration, mapping) takes the keyboard; when it
    // has gone, the control that had the focus before gets it back.
    void RememberFocus();
    void RestoreFocus();

    // IRegionCalibrationView
    void StartPointerHook() override;
    void StopPointerHook() override;
    bool CreateHint() override;
    void ShowHintAt(const LayoutRect& place, bool first) override;
    void DestroyHint() override;
    ScreenPoint PointerPosition() override;
    unsigned DpiAt(ScreenPoint point) override;
    void OpenRegionCalibration(unsigned slot, const ScreenRect& region) override;

    MainDialogFactories m_factories;
    CMainPanel m_panel;
    CDiagnosis m_diagnosis; // shown modally, each time for the selected touchscreen
    std::unique_ptr<CCalibrateDlg> m_calibration;
    std::unique_ptr<MessageInfoDlg> m_regionHint;
    CRegionCalibrationPanel m_region;
    CListView m_list;
    CImageList m_images;
    unsigned m_imagesDpi = 0; // the DPI m_images were drawn for
    std::array<CXPButton, 8> m_buttons;
    CImageStatic m_picture;
    CIcon m_bigIcon;
    CIcon m_smallIcon;
    bool m_fillingList = false; // the list's own notifications are not selections then
    std::unique_ptr<CDeviceMatchDlg> m_mapping;
    HWND m_focusBefore = nullptr;
    std::unique_ptr<CUpdate> m_update;
};
