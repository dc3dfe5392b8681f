#pragma once

#include <deque>
#include <optional>
#include <vector>

#include <QString>
#include <QStringList>

#include "gui/app/WindowDialogs.h"

namespace stonereach::test {

// Answers the windows' dialogs from a script and records what was asked, so
// no test ever waits on a modal box. Each queue is taken from the front; an
// empty queue gives the default answer (OK, No, cancelled).
class ScriptedDialogs final : public WindowDialogs {
public:
    void showError(QWidget*, const QString& text) override { errors.push_back(text); }
    ErrorChoice showErrorDetected(QWidget*, const QString& text) override {
        errorsDetected.push_back(text);
        return take(choices, ErrorChoice::Ok);
    }
    std::optional<QString> chooseDirectory(QWidget*, const QString& caption, const QString& start) override {
        directoryCaptions.push_back(caption);
        directoryStarts.push_back(start);
        return directory;
    }
    void showMessage(QWidget*, const QString& text) override { messages.push_back(text); }
    void showTitledMessage(QWidget*, const QString& title, const QString& text) override {
        messageTitles.push_back(title);
        messages.push_back(text);
    }
    bool askYesNo(QWidget*, const QString& text) override {
        questions.push_back(text);
        return take(answers, false);
    }
    std::optional<QString> chooseOpenFile(QWidget*, const FileDialogRequest& request) override {
        openRequests.push_back(request);
        return take(openFiles, std::optional<QString>());
    }
    std::optional<QString> chooseSaveFile(QWidget*, const FileDialogRequest& request) override {
        saveRequests.push_back(request);
        return take(saveFiles, std::optional<QString>());
    }
    std::optional<QString> inputText(QWidget*, const QString& caption, const QString& prompt,
                                     const QString& initial) override {
        inputs.push_back(caption + QLatin1Char('|') + prompt + QLatin1Char('|') + initial);
        return take(inputAnswers, std::optional<QString>());
    }
    NamePromptAnswer askNameOrDiscard(QWidget*, const QString& caption, const QString& prompt,
                                      const QString& discardCaption, const NameCheck& check) override {
        inputs.push_back(caption + QLatin1Char('|') + prompt + QLatin1Char('|') + discardCaption);
        NamePromptAnswer answer = take(nameAnswers, NamePromptAnswer{});
        // The real box takes no name its check refuses.
        if (answer.choice == NamePromptAnswer::Choice::Name && check)
            nameChecks.push_back(check(answer.name));
        return answer;
    }

    QStringList errors;
    QStringList errorsDetected;
    std::deque<ErrorChoice> choices;
    QStringList directoryCaptions;
    QStringList directoryStarts;
    std::optional<QString> directory;
    QStringList messages;
    QStringList messageTitles; // of the messages shown with a title of their own
    QStringList questions;
    std::deque<bool> answers;
    std::vector<FileDialogRequest> openRequests;
    std::deque<std::optional<QString>> openFiles;
    std::vector<FileDialogRequest> saveRequests;
    std::deque<std::optional<QString>> saveFiles;
    QStringList inputs; // "caption|prompt|initial"
    std::deque<std::optional<QString>> inputAnswers;
    std::deque<NamePromptAnswer> nameAnswers;
    QStringList nameChecks; // what the check said of each name answered

private:
    template <typename T, typename U>
    static T take(std::deque<T>& queue, U fallback) {
        T value(std::move(fallback));
        if (!queue.empty()) {
            value = std::move(queue.front());
            queue.pop_front();
        }
        return value;
    }
};

} // namespace stonereach::test
