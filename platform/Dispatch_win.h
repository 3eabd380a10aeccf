// One static handler table per window class, searched by one routine.
//
// A class lists its rows next to its handlers:
//
//   static constexpr qx::MessageRow<Foo> kMessages[] = {{WM_PAINT, &Foo::OnPaint}};
//   static constexpr qx::CommandRow<Foo> kCommands[] = {{ID_FILE_NEW, &Foo::FileNew}};
//   static constexpr qx::NoticeRow<Foo>  kNotices[]  = {{1005, BN_CLICKED, &Foo::Sync}};
//
// Menu commands are matched on the whole wParam (id in the low word, notice
// code 0 in the high word); a control's notice is matched on its id and code.
#pragma once

#include <windows.h>

#include <span>

namespace qx {

// What a message handler answers: handled with a result, or "let the
// default handling run".
struct Handled {
    bool handled = true;
    LRESULT result = 0;
};
inline constexpr Handled kDefault{false, 0};

template <class T>
struct MessageRow {
    UINT message;
    Handled (T::*handler)(WPARAM, LPARAM);
};

template <class T>
struct CommandRow {
    WPARAM command;  // compared with the whole wParam
    void (T::*handler)();
};

template <class T>
struct NoticeRow {
    int control;
    int notice;
    void (T::*handler)();
};

template <class T>
struct HandlerTable {
    std::span<const MessageRow<T>> messages;
    std::span<const CommandRow<T>> commands;
    std::span<const NoticeRow<T>> notices;
};

// Finds the row for a message and runs it. Returns what the handler
// answered, or kDefault when no row matches.
template <class T>
Handled Dispatch(T& self, const HandlerTable<T>& table, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        for (const auto& row : table.commands) {
            if (row.command == wParam) {
                (self.*row.handler)();
                return {true, 0};
            }
        }
        const int control = LOWORD(wParam);
        const int notice = HIWORD(wParam);
        for (const auto& row : table.notices) {
            if (row.control == control && row.notice == notice) {
                (self.*row.handler)();
                return {true, 0};
            }
        }
    }
    for (const auto& row : table.messages) {
        if (row.message == message) return (self.*row.handler)(wParam, lParam);
    }
    return kDefault;
}

}  // namespace qx
