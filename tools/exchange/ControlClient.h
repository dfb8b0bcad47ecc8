#pragma once

#include "ControlLine.h"

#include <string>

// The client side of the control channel, for the subcommands: sends one
// command line and returns the exchange's reply line.
class ControlClient
{
public:
    explicit ControlClient(std::string path) : m_path(std::move(path)) {}

    // False, with error set, when no exchange answers.
    bool send(const ControlRequest& request, std::string& reply, std::string& error) const;

private:
    std::string m_path;
};
