#pragma once

#include "CliSupport.h"
#include "Json.h"

namespace lobex::cli {

// The messages a command showed, in order, as the "messages" list of its JSON object: each with
// its icon code (16 critical, 64 information), its text and its detail (where reading stopped
// and why; empty when it names no cause).
inline void WriteMessages(JsonWriter& json, const RecordingMessages& messages) {
    json.Key("messages").BeginArray();
    for (const RecordedMessage& message : messages.shown) {
        json.BeginObject();
        json.Key("icon").Number(static_cast<long long>(message.icon));
        json.Key("text").String(message.text);
        json.Key("detail").String(message.detail);
        json.EndObject();
    }
    json.EndArray();
}

} // namespace lobex::cli
