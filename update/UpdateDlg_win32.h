#pragma once
// The firmware update dialog: a label, a progress bar with its figure and a
// final message, no title. What it does is CUpdatePanel's; this class maps
// the window's messages to it and sets the controls. Modeless and without a
// parent: its opener owns the object and is told, through `onEnded`, when
// the window has gone, so that it can release it. The dialog closes by
// itself; Enter and Escape do not end an update half-way.

#include "update/UpdatePanel.h"
#include "win/Dialog.h"

#include <functional>
#include <memory>

class CUpdate : public CDialogImpl<CUpdate>, private IUpdateView {
public:
    explicit CUpdate(UpdateServices services, std::function<void()> onEnded = {});

    const CUpdatePanel& Panel() const { return m_panel; }

    static const MessageTable kMessageTable;

protected:
    bool OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    void OnFinalMessage() override;

private:
    static const MessageEntry kEntries[];

    // IUpdateView
    void ShowProgress(int percent, const std::wstring& figure) override;
    void ShowFinalMessage(const std::wstring& text) override;
    void StartTimer(unsigned id, unsigned milliseconds) override;
    void StopTimer(unsigned id) override;
    void Close() override;

    void OnReply(std::unique_ptr<DeviceReply> reply);
    void OnTimer(WPARAM id, LPARAM);
    void OnClose();
    void OnDestroy();

    CUpdatePanel m_panel;
    std::function<void()> m_onEnded;
};
