#include "platform/qt/qt_ui_shell.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>
#include <cstdio>

QString QtFilterFromPairs(const std::string& filter) {
    QStringList parts = QString::fromLocal8Bit(filter).split(QLatin1Char('|'));
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& pattern : patterns)
            pattern = pattern.trimmed();
        entries << parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                       QLatin1Char(')');
    }
    return entries.join(QStringLiteral(";;"));
}

void QtUiShell::ShowMessage(const std::string& text, const std::string& caption) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromLocal8Bit(caption),
                    QString::fromLocal8Bit(text), QMessageBox::Ok);
    box.exec();
}

std::optional<std::string> QtUiShell::OpenFile(const FileDialogOptions& options) {
    QFileDialog dialog(nullptr, QString::fromLocal8Bit(options.title));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(QtFilterFromPairs(options.filter));
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (!options.fileName.empty())
        dialog.selectFile(QString::fromLocal8Bit(options.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().first().toLocal8Bit().toStdString();
}

std::optional<std::string> QtUiShell::SaveFile(const FileDialogOptions& options) {
    QFileDialog dialog(nullptr, QString::fromLocal8Bit(options.title));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QtFilterFromPairs(options.filter));
    if (!options.defaultExt.empty())
        dialog.setDefaultSuffix(QString::fromLocal8Bit(options.defaultExt));
    if (!options.fileName.empty())
        dialog.selectFile(QString::fromLocal8Bit(options.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().first().toLocal8Bit().toStdString();
}

bool QtUiShell::AskPassword(const std::function<bool(const std::string&)>& accept) {
    return passwordPrompt ? passwordPrompt(accept) : false;
}

void QtUiShell::ProcessPendingEvents() {
    QApplication::processEvents();
}

void QtUiShell::ProcessPendingPaints() {
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtUiShell::EndApplication() {
    ended_ = true;
    QApplication::exit(0);
}

void QtUiShell::DebugOutput(const std::string& line) {
    std::fprintf(stderr, "%s\n", line.c_str());
}
