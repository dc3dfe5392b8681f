#include "gui/app/WindowDialogs.h"

#include <QApplication>
#include <QBoxLayout>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

#include "gui/app/ErrorBoundary.h"

namespace stonereach {

void QtWindowDialogs::showError(QWidget* parent, const QString& text) {
    QMessageBox::critical(parent, applicationTitle(), text);
}

ErrorChoice QtWindowDialogs::showErrorDetected(QWidget* parent, const QString& text) {
    // The text's lines end in CR LF; the message box breaks lines at LF.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const auto answer = QMessageBox::critical(parent, applicationTitle(), shown,
                                              QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok);
    return answer == QMessageBox::Cancel ? ErrorChoice::Cancel : ErrorChoice::Ok;
}

std::optional<QString> QtWindowDialogs::chooseDirectory(QWidget* parent, const QString& caption,
                                                        const QString& directory) {
    const QString dir = QFileDialog::getExistingDirectory(parent, caption, directory);
    if (dir.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(dir);
}

void QtWindowDialogs::showMessage(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, applicationTitle(), text);
}

void QtWindowDialogs::showTitledMessage(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::information(parent, title, text);
}

bool QtWindowDialogs::askYesNo(QWidget* parent, const QString& text) {
    return QMessageBox::question(parent, applicationTitle(), text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

namespace {

QString startPath(const FileDialogRequest& request) {
    if (request.fileName.isEmpty())
        return request.directory;
    return request.directory.isEmpty() ? request.fileName : QDir(request.directory).filePath(request.fileName);
}

std::optional<QString> chosen(const QString& path) {
    if (path.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(path);
}

} // namespace

QStringList mapFileFilters(const QString& plainFilter, const QString& pattern, const QString& currentPath) {
    const QString container = QStringLiteral("Ultima Online MAP container (%1.uop)").arg(pattern);
    if (currentPath.endsWith(QStringLiteral(".uop"), Qt::CaseInsensitive))
        return {container, plainFilter};
    return {plainFilter, container};
}

std::optional<QString> QtWindowDialogs::chooseOpenFile(QWidget* parent, const FileDialogRequest& request) {
    return chosen(QFileDialog::getOpenFileName(parent, request.title, startPath(request),
                                               request.filters.join(QStringLiteral(";;"))));
}

std::optional<QString> QtWindowDialogs::chooseSaveFile(QWidget* parent, const FileDialogRequest& request) {
    // Qt's save dialog asks before it lets an existing file be chosen.
    return chosen(QFileDialog::getSaveFileName(parent, request.title, startPath(request),
                                               request.filters.join(QStringLiteral(";;"))));
}

std::optional<QString> QtWindowDialogs::inputText(QWidget* parent, const QString& caption, const QString& prompt,
                                                  const QString& initial) {
    bool ok = false;
    const QString text = QInputDialog::getText(parent, caption, prompt, QLineEdit::Normal, initial, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

NamePromptAnswer QtWindowDialogs::askNameOrDiscard(QWidget* parent, const QString& caption, const QString& prompt,
                                                   const QString& discardCaption, const NameCheck& check) {
    QDialog box(parent);
    box.setWindowTitle(caption);
    auto* label = new QLabel(prompt, &box);
    auto* field = new QLineEdit(&box);
    label->setBuddy(field);
    field->setAccessibleName(prompt);
    auto* problem = new QLabel(&box);
    problem->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &box);
    QPushButton* discard = buttons->addButton(discardCaption, QDialogButtonBox::DestructiveRole);
    auto* layout = new QVBoxLayout(&box);
    layout->addWidget(label);
    layout->addWidget(field);
    layout->addWidget(problem);
    layout->addWidget(buttons);
    field->setMinimumWidth(320);

    const auto judge = [&] {
        const QString why = check ? check(field->text()) : QString();
        problem->setText(field->text().isEmpty() ? QString() : why);
        buttons->button(QDialogButtonBox::Ok)->setEnabled(!field->text().isEmpty() && why.isEmpty());
        // The box grows and shrinks with what is said, so every line shows.
        box.adjustSize();
    };
    judge();
    QObject::connect(field, &QLineEdit::textChanged, &box, judge);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &box, &QDialog::reject);
    bool discarded = false;
    QObject::connect(discard, &QPushButton::clicked, &box, [&] {
        discarded = true;
        box.reject();
    });

    NamePromptAnswer answer;
    if (box.exec() == QDialog::Accepted) {
        answer.choice = NamePromptAnswer::Choice::Name;
        answer.name = field->text();
    } else if (discarded) {
        answer.choice = NamePromptAnswer::Choice::Discard;
    }
    return answer;
}

} // namespace stonereach
