#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

namespace lobex::test {

// Starts program with arguments that reach it as the given bytes, UTF-8 or not: QProcess would
// pass its text as UTF-8, so each argument is spelled in octal for the shell's printf.
inline void StartWithByteArguments(QProcess& process, const QString& program,
                                   const std::vector<std::string>& arguments) {
    QString script = QStringLiteral("exec \"$0\"");
    for (const std::string& argument : arguments) {
        QString octal;
        for (const char c : argument) {
            octal +=
                QStringLiteral("\\%1").arg(static_cast<unsigned char>(c), 3, 8, QLatin1Char('0'));
        }
        script += QStringLiteral(" \"$(printf '%1')\"").arg(octal);
    }
    process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script, program});
}

} // namespace lobex::test
