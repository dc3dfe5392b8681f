#include "gui/app/QtSettingsStore.h"

#include <memory>

#include <QSettings>

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

QString key(std::string_view name) {
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

} // namespace

std::optional<std::string> QtSettingsStore::value(std::string_view name) const {
    const auto store = openStore();
    const QVariant stored = store->value(key(name));
    // A value of another type than text (written by hand or by another tool)
    // reads as absent, so the design default stays.
    if (!stored.isValid() || stored.typeId() != QMetaType::QString)
        return std::nullopt;
    return stored.toString().toStdString();
}

void QtSettingsStore::setValue(std::string_view name, std::string_view value) {
    const auto store = openStore();
    store->setValue(key(name), QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
    store->sync();
}

} // namespace stonereach
