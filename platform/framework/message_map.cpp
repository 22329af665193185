#include "platform/framework/message_map.h"

#include <string>

const MessageMap::MessageHandler* MessageMap::FindMessage(UINT message) const {
    for (const MessageMap* map = this; map != nullptr; map = map->m_base) {
        const auto found = map->m_messages.find(message);
        if (found != map->m_messages.end()) {
            return &found->second;
        }
    }
    return nullptr;
}

const MessageMap::CommandHandler* MessageMap::FindCommand(UINT code, UINT id) const {
    for (const MessageMap* map = this; map != nullptr; map = map->m_base) {
        for (const CommandEntry& entry : map->m_commands) {
            if (entry.code == code && id >= entry.firstId && id <= entry.lastId) {
                return &entry.handler;
            }
        }
    }
    return nullptr;
}

void MessageMap::AddMessage(const char* owner, UINT message, MessageHandler handler) {
    if (!m_messages.emplace(message, std::move(handler)).second) {
        framework::FailMessageMap(owner, message, "is registered twice");
    }
}

void MessageMap::AddCommand(const char* owner, UINT code, UINT firstId, UINT lastId,
                            CommandHandler handler) {
    if (firstId > lastId) {
        framework::FailMessageMap(
            owner, WM_COMMAND,
            ("has an empty id range " + std::to_string(firstId) + ".." + std::to_string(lastId))
                .c_str());
    }
    for (const CommandEntry& entry : m_commands) {
        if (entry.code == code && firstId <= entry.lastId && entry.firstId <= lastId) {
            framework::FailMessageMap(owner, WM_COMMAND,
                                      ("registers id " + std::to_string(firstId) + " with code " +
                                       std::to_string(code) + " twice")
                                          .c_str());
        }
    }
    m_commands.push_back({code, firstId, lastId, std::move(handler)});
}
