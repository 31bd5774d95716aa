#include "desktop.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QUrl>

namespace platform {

namespace {

std::function<void(const QString&)>& opener() {
    static std::function<void(const QString&)> instance;
    return instance;
}

}  // namespace

void openAddress(const QString& address) {
    if (opener()) {
        opener()(address);
        return;
    }
    QDesktopServices::openUrl(QUrl(address));
}

void copyToClipboard(const QString& text) {
    if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setText(text);
}

void setAddressOpener(std::function<void(const QString&)> newOpener) { opener() = std::move(newOpener); }

}  // namespace platform
