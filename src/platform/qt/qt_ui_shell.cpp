#include "platform/qt/qt_ui_shell.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStringList>
#include <cstdio>

QStringList QtNameFilters(const std::string& filter) {
    QStringList parts = QString::fromLocal8Bit(filter).split(QLatin1Char('|'));
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& pattern : patterns)
            pattern = pattern.trimmed();
        entries << parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                       QLatin1Char(')');
    }
    return entries;
}

void PrepareFileDialog(QFileDialog& dialog, const FileDialogOptions& options,
                       QFileDialog::AcceptMode mode) {
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    // The texts already name their patterns; the dialog shows them without the patterns
    // that Qt reads from the parentheses at the end of each filter.
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setNameFilters(QtNameFilters(options.filter));
    if (mode == QFileDialog::AcceptOpen)
        dialog.setOption(QFileDialog::ReadOnly, false);
    if (!options.defaultExt.empty())
        dialog.setDefaultSuffix(QString::fromLocal8Bit(options.defaultExt));
    if (!options.fileName.empty())
        dialog.selectFile(QString::fromLocal8Bit(options.fileName));
    // Without a title of its own the dialog keeps the toolkit's ("Open", "Save As").
    if (!options.title.empty())
        dialog.setWindowTitle(QString::fromLocal8Bit(options.title));
}

QString DialogStartFolder(const std::string& fileName, const QString& lastFolder) {
    const QFileInfo named(QString::fromLocal8Bit(fileName));
    if (!fileName.empty() && named.isAbsolute())
        return named.absolutePath();
    if (!lastFolder.isEmpty())
        return lastFolder;
    return QDir::homePath();
}

void QtUiShell::NoteChosenFile(const std::string& path) {
    lastFolder_ = QFileInfo(QString::fromLocal8Bit(path)).absolutePath();
}

void QtUiShell::ShowMessage(const std::string& text, const std::string& caption) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromLocal8Bit(caption),
                    QString::fromLocal8Bit(text), QMessageBox::Ok);
    box.exec();
}

bool QtUiShell::AskYesNo(const std::string& text, const std::string& caption) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromLocal8Bit(caption),
                    QString::fromLocal8Bit(text), QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

std::optional<std::string> QtUiShell::OpenFile(const FileDialogOptions& options) {
    return RunFileDialog(options, QFileDialog::AcceptOpen);
}

std::optional<std::string> QtUiShell::SaveFile(const FileDialogOptions& options) {
    return RunFileDialog(options, QFileDialog::AcceptSave);
}

std::optional<std::string> QtUiShell::RunFileDialog(const FileDialogOptions& options,
                                                    QFileDialog::AcceptMode mode) {
    QFileDialog dialog;
    dialog.setDirectory(DialogStartFolder(options.fileName, lastFolder_));
    PrepareFileDialog(dialog, options, mode);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const std::string chosen = dialog.selectedFiles().first().toLocal8Bit().toStdString();
    NoteChosenFile(chosen);
    return chosen;
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
