// Stands in for the desktop's browser: QDesktopServices hands it the addresses a window opens.
#pragma once

#include <QDesktopServices>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QUrl>

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    // Catches the addresses of these schemes while it lives.
    explicit UrlCatcher(const QStringList& schemes = {QStringLiteral("https")}) : schemes_(schemes) {
        for (const QString& scheme : schemes_)
            QDesktopServices::setUrlHandler(scheme, this, "open");
    }
    ~UrlCatcher() override {
        for (const QString& scheme : schemes_)
            QDesktopServices::unsetUrlHandler(scheme);
    }

    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened.append(url); }

private:
    QStringList schemes_;
};
