#include "ui/refused_value.h"

#include <QLineEdit>
#include <QVariant>

namespace morvane {

namespace {
const char* const kRefused = "refusedValue";
const char* const kOwnTip = "tipBeforeRefusal";
}  // namespace

void showRefused(QLineEdit* box, const QString& takes) {
    if (!isRefused(box)) box->setProperty(kOwnTip, box->toolTip());
    box->setProperty(kRefused, true);
    box->setStyleSheet(QStringLiteral("QLineEdit { border: 2px solid #d00000; }"));
    box->setToolTip(QStringLiteral("Refused: type a whole number %1").arg(takes));
}

void clearRefused(QLineEdit* box) {
    if (!isRefused(box)) return;
    box->setProperty(kRefused, false);
    box->setStyleSheet(QString());
    box->setToolTip(box->property(kOwnTip).toString());
}

bool isRefused(const QLineEdit* box) {
    return box->property(kRefused).toBool();
}

bool readWholeNumber(const QString& text, int& value) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (ok) value = v;
    return ok;
}

}  // namespace morvane
