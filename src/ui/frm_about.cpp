#include "ui/frm_about.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QShortcut>
#include <QSysInfo>
#include <QVBoxLayout>

namespace morvane {

namespace {

const QString kTitle = QStringLiteral("Morvane");
constexpr int kMajor = 10, kMinor = 25, kRevision = 1;

QPixmap iconPixmap(int size) {
    // Four strategies on a 4 x 4 board, as the world shows them.
    static const std::array<QColor, 4> colours{QColor(220, 40, 40), QColor(40, 110, 220),
                                               QColor(40, 170, 70), QColor(240, 200, 40)};
    static const std::array<int, 16> board{0, 0, 1, 1, 0, 2, 2, 1, 3, 2, 2, 1, 3, 3, 0, 1};
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    const double cell = size / 4.0;
    for (int i = 0; i < 16; ++i)
        p.fillRect(QRectF((i % 4) * cell + 1, (i / 4) * cell + 1, cell - 2, cell - 2),
                   colours[board[i]]);
    return pixmap;
}

}  // namespace

QIcon frmAbout::programIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64}) icon.addPixmap(iconPixmap(size));
    return icon;
}

QString frmAbout::systemInfoText() {
    return QStringLiteral("System: %1\nKernel: %2 %3\nProcessor: %4\nQt: %5")
        .arg(QSysInfo::prettyProductName(), QSysInfo::kernelType(), QSysInfo::kernelVersion(),
             QSysInfo::currentCpuArchitecture(), QString::fromLatin1(qVersion()));
}

frmAbout::frmAbout(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("Acerca de ") + kTitle);
    picIcon = new QLabel;
    picIcon->setPixmap(iconPixmap(48));
    lblTitle = new QLabel(kTitle);
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.8);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblVersion =
        new QLabel(QStringLiteral("Versión %1.%2.%3").arg(kMajor).arg(kMinor).arg(kRevision));
    lblDescription = new QLabel(QStringLiteral("Ya veremos qué escribimos aquí..."));
    lblDisclaimer = new QLabel(
        QStringLiteral("This program is a research tool and comes with no warranty of any kind."));
    cmdOK = new QPushButton(QStringLiteral("OK"));
    cmdOK->setDefault(true);
    cmdSysInfo = new QPushButton(QStringLiteral("&System Info"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(picIcon, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(lblTitle, 0, 1);
    grid->addWidget(lblVersion, 1, 1);
    grid->addWidget(lblDescription, 2, 1);
    grid->setRowMinimumHeight(3, 16);
    grid->addWidget(lblDisclaimer, 4, 0, 1, 3);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    buttons->addStretch();
    grid->addLayout(buttons, 0, 2, 3, 1);
    grid->setColumnStretch(1, 1);

    connect(cmdOK, &QPushButton::clicked, this, &QWidget::close);
    // Escape closes the box as it closes a message box: there is nothing here to lose.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &QWidget::close);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::StartSysInfo);
}

void frmAbout::StartSysInfo() {
    // No system-information tool to start here: the program says what it can tell itself, in a
    // box of its own that leaves the about box open.
    if (!sysInfo_) {
        sysInfo_ = new QMessageBox(QMessageBox::Information, QStringLiteral("System Info"),
                                   systemInfoText(), QMessageBox::Ok, this);
        sysInfo_->setAttribute(Qt::WA_DeleteOnClose);
        sysInfo_->setWindowModality(Qt::NonModal);
    }
    sysInfo_->show();
    sysInfo_->raise();
}

}  // namespace morvane
