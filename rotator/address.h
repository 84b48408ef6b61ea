#pragma once

// The one reader of a rotator daemon's address, for the command line, the "Rotor…" dialog and the
// settings file alike. Standard library only, so that it can be fuzzed alone.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "rotator/reason.h"

namespace orbida::rotator {

// Hamlib's own port for rotctld.
inline constexpr std::uint16_t kDefaultPort = 4533;

// Longest host name the resolver takes.
inline constexpr std::size_t kMaxHost = 253;

struct Address {
    std::string host;  // a name, an IPv4 address, or an IPv6 address without brackets
    std::uint16_t port = kDefaultPort;
};

struct AddressReading {
    std::optional<Address> address;
    std::string problem;  // French, when there is no address
    Reason reason;        // the same, to be shown in the user's language
};

// Why a host cannot be one ("" when it can): a host name (ASCII letters, digits, hyphens and
// underscores in dot-separated labels of at most 63 characters, a final dot allowed), a dotted
// IPv4 address, or an IPv6 address with an optional zone ("fe80::1%eth0"). Blanks, control
// characters and anything else are refused, as is a name longer than kMaxHost.
Reason HostReason(std::string_view host);
std::string HostProblem(std::string_view host);  // its French text

// Reads "HOST", "HOST:PORT", "[IPv6]", "[IPv6]:PORT" or an IPv6 address without brackets (with
// defaultPort), blanks around it dropped. A port is 1 to 65535, in digits only. An IPv6 address
// without brackets whose last group could be a port ("::1:4533") is refused as ambiguous, with
// both bracketed writings suggested.
AddressReading ReadAddress(std::string_view text, std::uint16_t defaultPort = kDefaultPort);

// How the address is written back: "host:4533", "[::1]:4533".
std::string FormatAddress(const Address& address);

}  // namespace orbida::rotator
