#pragma once

// The local date and time of the machine, behind an interface so that tests
// can choose the moment a call is logged.
struct LocalDateTime
{
    int year = 1970;
    int month = 1; // 1..12
    int day = 1;   // 1..31
    int hour = 0;  // 0..23
    int minute = 0;
    int second = 0;
};

class Clock
{
public:
    virtual ~Clock() = default;
    virtual LocalDateTime now() const = 0;
};

class SystemClock : public Clock
{
public:
    LocalDateTime now() const override;
};
