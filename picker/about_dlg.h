// The About box: the icon, two hints and the maker's notice; a press anywhere closes it.
#pragma once

#include "platform/framework/framework.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();

protected:
    const MessageMap& GetMessageMap() const override;
    void DoDataExchange(CDataExchange* pDX) override;

    void OnLButtonDown(UINT nFlags, CPoint point);
};
