#pragma once

// What the program does with the line. Enabled at every start; never stored.
enum class OperatingMode
{
    Disabled = 0,       // released from the line; calls are not seen
    Enabled = 1,        // calls are logged and announced
    OutputDisabled = 2, // calls are logged only
};
