#pragma once

#include "Errors.h"
#include "LoadContext.h"
#include "LoadResult.h"
#include "TextRules.h"
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

// The causes shown beneath a load's message: where reading stopped ("%1" the line, "%2" the
// field) and why.
inline constexpr std::string_view kFolderCause = LOBEX_TEXT("это папка");
inline constexpr std::string_view kPipeCause = LOBEX_TEXT("это канал (FIFO), а не файл");
inline constexpr std::string_view kNotAFileCause =
    LOBEX_TEXT("это не обычный файл (устройство или сокет)");
inline constexpr std::string_view kNoReadPermissionCause = LOBEX_TEXT("нет прав на чтение");
inline constexpr std::string_view kInputOutputCause = LOBEX_TEXT("ошибка ввода-вывода при чтении");
inline constexpr std::string_view kLineTooLongCause = LOBEX_TEXT("строка %1: длиннее 65536 знаков");
inline constexpr std::string_view kOutOfMemoryCause = LOBEX_TEXT("не хватает памяти");
inline constexpr std::string_view kEmptyFileCause = LOBEX_TEXT("файл пуст");
inline constexpr std::string_view kUnknownHeaderCause = LOBEX_TEXT("строка %1: заголовок не узнан");
inline constexpr std::string_view kNoDataCause = LOBEX_TEXT("нет ни одной строки данных");
inline constexpr std::string_view kTooManyRowsCause = LOBEX_TEXT("строка %1: больше 32767 строк");
inline constexpr std::string_view kMissingFieldCause = LOBEX_TEXT("строка %1: нет поля %2");
inline constexpr std::string_view kNoNumberCause = LOBEX_TEXT("строка %1, поле %2: нет числа");
inline constexpr std::string_view kNumberTooLargeCause =
    LOBEX_TEXT("строка %1, поле %2: число не умещается в 32 бита");
inline constexpr std::string_view kUnsplitLineCause =
    LOBEX_TEXT("строка %1: поля не разделены ни табуляцией, ни запятой, ни пробелом");

// Status line texts.
inline constexpr std::string_view kInputErrorStatus = LOBEX_TEXT("Ошибка ввода данных");
inline constexpr std::string_view kSavedStatus = LOBEX_TEXT("Данные сохранены в файл: ");

// A message box captioned with the program's title, with its cause beneath when it has one.
inline void Tell(LoadContext& ctx, std::string_view text, MessageIcon icon, Rejection cause = {}) {
    if (cause.text.empty()) {
        ctx.messages.Show(text, icon, ctx.state.AppTitle);
    } else {
        ctx.messages.ShowWithCause(text, cause, icon, ctx.state.AppTitle);
    }
}

// A load's messages, in the order they arose.
inline void TellAll(LoadContext& ctx, const std::vector<LoadMessage>& messages) {
    for (const LoadMessage& message : messages) {
        Tell(ctx, message.text, message.icon, message.cause);
    }
}

// A field's number by the leading-number rule (stop: where it ended), a magnitude too large for
// 32 bits refused with where it stood.
inline float FieldFloat(std::string_view field, std::size_t& stop, int line, int fieldNumber) {
    try {
        return LeadingFloat(field, stop);
    } catch (const RuntimeError& error) {
        throw InputError(error.what(), {kNumberTooLargeCause, line, fieldNumber});
    }
}
inline float FieldFloat(std::string_view field, int line, int fieldNumber) {
    std::size_t stop = 0;
    return FieldFloat(field, stop, line, fieldNumber);
}

// The cause a run-time error carries: an input error's, memory's, none for others.
inline Rejection CauseOf(const std::exception& error) {
    if (const auto* input = dynamic_cast<const InputError*>(&error)) {
        return input->Cause();
    }
    if (dynamic_cast<const std::bad_alloc*>(&error) != nullptr) {
        return {kOutOfMemoryCause};
    }
    return {};
}

// The description a run-time error shows when an operation reports it as it stands.
inline std::string ErrorDescription(const std::exception& error) {
    if (dynamic_cast<const std::bad_alloc*>(&error) != nullptr) {
        return "Out of memory";
    }
    return error.what();
}

} // namespace lobex
