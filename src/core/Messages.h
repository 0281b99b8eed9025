#pragma once

#include "Errors.h"
#include "LoadContext.h"
#include "LoadResult.h"
#include "Texts.h"

#include <exception>
#include <new>
#include <string>
#include <string_view>

namespace lobex {

// The texts the loaders show, exactly as the user reads them.
inline constexpr std::string_view kWrongFormatMessage = LOBEX_TEXT("Неправильный формат данных");
inline constexpr std::string_view kUnknownFormatMessage = LOBEX_TEXT("Неизвестный Формат Файла");
inline constexpr std::string_view kReadErrorMessage = LOBEX_TEXT("Ошибка чтения данных");
inline constexpr std::string_view kFileNotFoundMessage = LOBEX_TEXT("Файл не найден");
inline constexpr std::string_view kWriteErrorMessage =
    LOBEX_TEXT("Ошибка записи в файл. Данные не сохранены.");
inline constexpr std::string_view kElevationMessage =
    LOBEX_TEXT("Входной файл содержит недостаточно данных для построения графика угла места.\r\n"
               "Удостовертесь что файл включает данные зенита по азимуту 0 и 180 градусов.");
inline constexpr std::string_view kTooManyNodesMessage =
    LOBEX_TEXT("Файл содержит слишком много узлов.\r\nУменьшите шаг Азимута и/или Зенита.");

// Status line texts.
inline constexpr std::string_view kInputErrorStatus = LOBEX_TEXT("Ошибка ввода данных");
inline constexpr std::string_view kSavedStatus = LOBEX_TEXT("Данные сохранены в файл: ");

// A message box captioned with the program's title.
inline void Tell(LoadContext& ctx, std::string_view text, MessageIcon icon) {
    ctx.messages.Show(text, icon, ctx.state.AppTitle);
}

// A load's messages, in the order they arose.
inline void TellAll(LoadContext& ctx, const std::vector<LoadMessage>& messages) {
    for (const LoadMessage& message : messages) {
        Tell(ctx, message.text, message.icon);
    }
}

// The description a run-time error shows when an operation reports it as it stands.
inline std::string ErrorDescription(const std::exception& error) {
    if (dynamic_cast<const std::bad_alloc*>(&error) != nullptr) {
        return "Out of memory";
    }
    return error.what();
}

} // namespace lobex
