#include "gui/app/QtSettingsStore.h"

#include <QCoreApplication>
#include <QSettings>
#include <QTimer>

#include "gui/app/ErrorBoundary.h"
#include "gui/app/QtConversions.h"
#include "mapdata/Errors.h"

namespace stonereach {

namespace {

std::unique_ptr<QSettings> openStore() {
#ifdef Q_OS_WIN
    return std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER\\Software\\BrannockStonereach"),
                                       QSettings::NativeFormat);
#else
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       QStringLiteral("BrannockStonereach"), QStringLiteral("stonereach"));
#endif
}

} // namespace

QtSettingsStore::QtSettingsStore(std::chrono::milliseconds quietPeriod)
    : settings_(openStore()), quiet_(std::make_unique<QTimer>()) {
    quiet_->setSingleShot(true);
    quiet_->setInterval(quietPeriod);
    QObject::connect(quiet_.get(), &QTimer::timeout, settings_.get(),
                     [this] { runGuarded(showErrorMessageBox, [this] { flush(); }); });
    // The last chance to tell the user that the settings were not saved: the
    // windows are closed, the application still runs.
    if (auto* app = QCoreApplication::instance())
        QObject::connect(app, &QCoreApplication::aboutToQuit, settings_.get(),
                         [this] { runGuarded(showErrorMessageBox, [this] { flush(); }); });
}

QtSettingsStore::~QtSettingsStore() {
    try {
        flush();
    } catch (const Error&) {
        // Nobody is left to tell; the settings of the last run stay.
    }
}

std::optional<std::string> QtSettingsStore::value(std::string_view name) const {
    if (const auto it = pending_.find(name); it != pending_.end())
        return it->second;
    const QVariant stored = settings_->value(qText(name));
    // A value of another type than text (written by hand or by another tool)
    // reads as absent, so the design default stays.
    if (!stored.isValid() || stored.typeId() != QMetaType::QString)
        return std::nullopt;
    return stdText(stored.toString());
}

void QtSettingsStore::setValue(std::string_view name, std::string_view value) {
    // Handed to QSettings only at the flush: it would otherwise write the
    // whole file at the next turn of the event loop.
    pending_.insert_or_assign(std::string(name), std::string(value));
    quiet_->start();
}

void QtSettingsStore::flush() {
    quiet_->stop();
    if (pending_.empty())
        return;
    for (const auto& [name, value] : pending_)
        settings_->setValue(qText(name), qText(value));
    pending_.clear();
    settings_->sync();
    if (settings_->status() != QSettings::NoError)
        throw IoError(stdText(settings_->fileName()), "The settings could not be written");
}

} // namespace stonereach
