#include <QLocale>

#include <cstdio>
#include <map>
#include <string>

// Prints src/cli/LocaleDecimalTable.cpp: the decimal symbol Qt's locale data give each language
// alone where it is not ".", and each locale name where it differs from its language's, so that
// lobex-cli finds the symbol the window shows without loading Qt. Run it again when Qt's locale
// data change:
//   build/tools/locale_decimals/make_locale_decimals > src/cli/LocaleDecimalTable.cpp
int main() {
    std::map<std::string, std::string> table;
    const QList<QLocale> locales =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    for (const QLocale& locale : locales) {
        const QString name = locale.name();
        const QString language = name.section(QLatin1Char('_'), 0, 0);
        const QString languageDecimal = QLocale(language).decimalPoint();
        if (languageDecimal != QLatin1String(".")) {
            table[language.toStdString()] = languageDecimal.toStdString();
        }
        if (const QString decimal = QLocale(name).decimalPoint(); decimal != languageDecimal) {
            table[name.toStdString()] = decimal.toStdString();
        }
    }
    std::printf("// Made by tools/locale_decimals/make_locale_decimals from Qt %s's locale data.\n"
                "#include \"LocaleDecimal.h\"\n\nnamespace lobex::cli {\n\n"
                "const LocaleDecimalEntry kLocaleDecimals[] = {\n",
                qVersion());
    for (const auto& [name, decimal] : table) {
        std::printf("    {\"%s\", \"%s\"},\n", name.c_str(), decimal.c_str());
    }
    std::printf("};\nconst std::size_t kLocaleDecimalCount = std::size(kLocaleDecimals);\n\n"
                "} // namespace lobex::cli\n");
    return 0;
}
