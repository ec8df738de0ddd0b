#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QWidget>

class QLabel;

class QPushButton;

namespace morvane {

// The about box: the program's title and version, and what the system can tell about itself.
class frmAbout : public QWidget {
    Q_OBJECT
  public:
    explicit frmAbout(QWidget* parent = nullptr);

    // The program's icon: a small board of bugs in four colours.
    static QIcon programIcon();
    // What the program can tell about the system it runs on: system, kernel, processor, Qt.
    static QString systemInfoText();

    QLabel* picIcon;
    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* lblDescription;
    QLabel* lblDisclaimer;
    QPushButton* cmdOK;
    QPushButton* cmdSysInfo;

    // The box "&System Info" shows (empty until it was pressed).
    QMessageBox* sysInfoBox() const { return sysInfo_; }

  private:
    void StartSysInfo();
    QPointer<QMessageBox> sysInfo_;
};

}  // namespace morvane
