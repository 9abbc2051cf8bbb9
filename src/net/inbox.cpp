// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/inbox.h"

namespace volcanelle::net {

namespace {

constexpr std::size_t kMostMessages = 4096;
constexpr std::size_t kMostBoxes = 16;
constexpr std::size_t kMostTextBytes = 1024 * 1024;

// A message that opens a box on this side.
bool opensBox(const wire::Message& message)
{
    return std::holds_alternative<wire::Announce>(message) ||
           std::holds_alternative<wire::AskCount>(message);
}

// The memory its texts hold.
std::size_t textBytes(const wire::Message& message)
{
    const auto bytes = [](const QString& text) {
        return static_cast<std::size_t>(text.size()) * sizeof(QChar);
    };
    if (const auto* box = std::get_if<wire::Announce>(&message))
        return bytes(box->text) + bytes(box->title);
    if (const auto* caption = std::get_if<wire::Caption>(&message))
        return bytes(caption->text);
    if (const auto* count = std::get_if<wire::Count>(&message))
        return bytes(count->text);
    return 0;
}

} // namespace

bool Inbox::push(const wire::Message& message)
{
    const std::size_t box = opensBox(message) ? 1 : 0;
    const std::size_t bytes = textBytes(message);
    if (messages_.size() >= kMostMessages || boxes_ + box > kMostBoxes ||
        textBytes_ + bytes > kMostTextBytes)
        return false;
    messages_.push_back(message);
    boxes_ += box;
    textBytes_ += bytes;
    return true;
}

wire::Message Inbox::pop()
{
    wire::Message message = std::move(messages_.front());
    messages_.pop_front();
    boxes_ -= opensBox(message) ? 1 : 0;
    textBytes_ -= textBytes(message);
    return message;
}

void Inbox::clear()
{
    messages_.clear();
    boxes_ = 0;
    textBytes_ = 0;
}

} // namespace volcanelle::net
