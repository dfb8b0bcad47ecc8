#pragma once

// The main window's commands, as the tray menu sends them.
namespace command {
constexpr int ShowCallLog = 40013;
constexpr int PhoneBook = 40021;
constexpr int Settings = 40012;
constexpr int About = 40014;
constexpr int Enable = 40023;
constexpr int DisableOutput = 40024;
constexpr int Disable = 40025;
constexpr int Exit = 40008;
// The menu bar of a desktop without a tray also carries the import and the
// exports.
constexpr int ImportContacts = 40030;
constexpr int ExportPhoneBook = 40031;
constexpr int ExportCalls = 40032;
} // namespace command
