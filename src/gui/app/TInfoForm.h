#pragma once

#include <functional>

#include <QDialog>
#include <QUrl>

namespace stonereach {

// The program's web page, opened by the about box's link.
inline constexpr const char* kProjectPageUrl = "https://github.com/brannock-stonereach/stonereach";

// The size of the program's icon beside its name.
inline constexpr int kAboutIconSize = 64;

// "major.minor.release" of a version text such as "1.3.1.0" (the build
// number is not shown); empty when the text holds no version.
QString shortVersionText(const QString& version);

// The about box: program icon and name, version, credits and a link to the project's
// page. Opened without blocking the main window; several may be open.
class TInfoForm : public QDialog {
    Q_OBJECT
public:
    using UrlOpener = std::function<void(const QUrl&)>;

    // `openUrl` defaults to the desktop's browser.
    explicit TInfoForm(QWidget* owner = nullptr, UrlOpener openUrl = {});

private:
    UrlOpener openUrl_;
};

} // namespace stonereach
