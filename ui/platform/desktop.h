#pragma once

#include <QString>

#include <functional>

namespace platform {

// Asks the desktop to open a web address with its default handler. The outcome is not
// reported: without a browser nothing happens.
void openAddress(const QString& address);

// Puts a plain text on the clipboard, replacing what it held.
void copyToClipboard(const QString& text);

// Tests: receive the addresses instead of the desktop. An empty function restores it.
void setAddressOpener(std::function<void(const QString&)> opener);

}  // namespace platform
