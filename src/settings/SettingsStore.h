#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <string>

// The per-user key that holds the settings: open it (creating it when it is
// missing), read and write named values, close it. No key stays open between
// a load and a save.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;

    // Opens the key, creating it when absent. `created` tells whether the key
    // did not exist before this call. False when it can be neither opened
    // nor created.
    virtual bool open(bool* created) = 0;

    // A 32-bit number; nothing when the value is missing or unreadable.
    virtual std::optional<uint32_t> readNumber(const char* name) = 0;
    // A text that must fit a buffer of `bufferSize` bytes with its
    // terminating zero; nothing when missing, unreadable or too long.
    virtual std::optional<std::string> readText(const char* name, size_t bufferSize) = 0;

    virtual void writeNumber(const char* name, uint32_t value) = 0;
    // A signed number. A store that keeps numbers as text writes it with its
    // sign; by default it is written as the same 32 bits by writeNumber, and
    // readNumber gives those bits back either way.
    virtual void writeSignedNumber(const char* name, int32_t value)
    {
        writeNumber(name, static_cast<uint32_t>(value));
    }
    virtual void writeText(const char* name, const std::string& value) = 0;

    // Closes the key, flushing what was written. False when writing failed.
    virtual bool close() = 0;
};

// The settings key as an INI file through QSettings: group "V1.51" of the
// organisation "Tornholt" and application "Ringvakt".
class IniSettingsStore : public SettingsStore
{
public:
    // The user's file: ~/.config/Tornholt/Ringvakt.ini (XDG_CONFIG_HOME).
    IniSettingsStore();
    // Any INI file, for tests.
    explicit IniSettingsStore(const QString& filePath);
    ~IniSettingsStore() override;

    static constexpr const char* kGroup = "V1.51";

    QString filePath() const;

    bool open(bool* created) override;
    std::optional<uint32_t> readNumber(const char* name) override;
    std::optional<std::string> readText(const char* name, size_t bufferSize) override;
    void writeNumber(const char* name, uint32_t value) override;
    void writeSignedNumber(const char* name, int32_t value) override;
    void writeText(const char* name, const std::string& value) override;
    bool close() override;

private:
    struct Private;
    Private* d;
};
