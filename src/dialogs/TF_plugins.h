// The plug-ins window: created with the settings dialog and kept for plug-ins to come; it has no content.
#pragma once

#include <QDialog>

struct WindowRegistry;

class TF_plugins final : public QDialog {
    Q_OBJECT
public:
    explicit TF_plugins(WindowRegistry& reg, QWidget* parent = nullptr);
};
