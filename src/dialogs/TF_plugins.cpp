#include "dialogs/TF_plugins.h"

TF_plugins::TF_plugins(WindowRegistry&, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TF_plugins"));
    setWindowTitle(QStringLiteral("Plugins"));
    resize(320, 240);
}
