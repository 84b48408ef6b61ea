#include "rotator/address.h"

#include <arpa/inet.h>

#include <algorithm>
#include <array>

namespace orbida::rotator {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsLetterOrDigit(char c) {
    return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool AllDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), IsDigit);
}

bool IsIpv4(std::string_view text) {
    std::array<unsigned char, 4> bytes{};
    return ::inet_pton(AF_INET, std::string(text).c_str(), bytes.data()) == 1;
}

bool IsIpv6(std::string_view text) {
    std::array<unsigned char, 16> bytes{};
    return ::inet_pton(AF_INET6, std::string(text).c_str(), bytes.data()) == 1;
}

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::optional<std::uint16_t> ReadPort(std::string_view text) {
    if (!AllDigits(text) || text.size() > 5) {
        return std::nullopt;
    }
    int value = 0;
    for (const char c : text) {
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > 65535) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(value);
}

Reason Ipv6Problem(std::string_view host) {
    const std::size_t percent = host.find('%');
    const std::string_view zone =
        percent == std::string_view::npos ? std::string_view() : host.substr(percent + 1);
    const bool zoneOk = percent == std::string_view::npos ||
                        (!zone.empty() && std::all_of(zone.begin(), zone.end(), [](char c) {
                            return IsLetterOrDigit(c) || c == '-' || c == '_' || c == '.';
                        }));
    if (!zoneOk || !IsIpv6(host.substr(0, percent))) {
        return {QT_TRANSLATE_NOOP("Rotator", "adresse IPv6 invalide")};
    }
    return {};
}

AddressReading Refuse(Reason reason) {
    return {std::nullopt, reason.French(), std::move(reason)};
}

}  // namespace

Reason HostReason(std::string_view host) {
    if (host.empty()) {
        return {QT_TRANSLATE_NOOP("Rotator", "aucun hôte")};
    }
    if (host.size() > kMaxHost) {
        return {QT_TRANSLATE_NOOP("Rotator", "nom d'hôte trop long (plus de %1 caractères)"),
                {std::to_string(kMaxHost)}};
    }
    for (const char c : host) {
        const auto b = static_cast<unsigned char>(c);
        if (c == ' ' || c == '\t') {
            return {QT_TRANSLATE_NOOP("Rotator", "espace dans le nom d'hôte")};
        }
        if (b < 0x20 || b == 0x7F) {
            return {QT_TRANSLATE_NOOP("Rotator", "caractère de contrôle dans le nom d'hôte")};
        }
        if (b >= 0x80) {
            return {QT_TRANSLATE_NOOP("Rotator", "caractère non ASCII dans le nom d'hôte")};
        }
        if (!IsLetterOrDigit(c) && c != '.' && c != '-' && c != '_' && c != ':' && c != '%') {
            return {QT_TRANSLATE_NOOP("Rotator",
                                      "caractère «\u00A0%1\u00A0» interdit dans un nom d'hôte"),
                    {std::string(1, c)}};
        }
    }
    if (host.find(':') != std::string_view::npos || host.find('%') != std::string_view::npos) {
        return Ipv6Problem(host);
    }
    std::string_view name = host;
    if (name.size() > 1 && name.back() == '.') {
        name.remove_suffix(1);  // the root's dot: "shack.example.org."
    }
    bool numeric = true;
    std::size_t start = 0;
    while (start <= name.size()) {
        const std::size_t dot = std::min(name.find('.', start), name.size());
        const std::string_view label = name.substr(start, dot - start);
        if (label.empty() || label.size() > 63 || label.front() == '-' || label.back() == '-') {
            return {QT_TRANSLATE_NOOP("Rotator", "nom d'hôte invalide")};
        }
        numeric = numeric && AllDigits(label);
        start = dot + 1;
    }
    // All digits and dots is meant as an IPv4 address, and must be one.
    if (numeric && !IsIpv4(name)) {
        return {QT_TRANSLATE_NOOP("Rotator", "adresse IPv4 invalide")};
    }
    return {};
}

std::string HostProblem(std::string_view host) {
    return HostReason(host).French();
}

AddressReading ReadAddress(std::string_view text, std::uint16_t defaultPort) {
    const std::string_view value = Trimmed(text);
    std::string_view host = value;
    std::optional<std::uint16_t> port = defaultPort;
    std::string_view portText;
    bool hasPort = false;
    if (value.starts_with('[')) {
        const std::size_t close = value.find(']');
        if (close == std::string_view::npos) {
            return Refuse({QT_TRANSLATE_NOOP("Rotator", "crochet fermant manquant")});
        }
        host = value.substr(1, close - 1);
        if (host.find(':') == std::string_view::npos) {
            return Refuse(
                {QT_TRANSLATE_NOOP("Rotator", "seule une adresse IPv6 s'écrit entre crochets")});
        }
        const std::string_view rest = value.substr(close + 1);
        if (!rest.empty()) {
            if (!rest.starts_with(':')) {
                return Refuse({QT_TRANSLATE_NOOP(
                    "Rotator", "après les crochets, seul «\u00A0:PORT\u00A0» peut suivre")});
            }
            portText = rest.substr(1);
            hasPort = true;
        }
    } else if (std::count(value.begin(), value.end(), ':') == 1) {
        const std::size_t colon = value.find(':');
        host = value.substr(0, colon);
        portText = value.substr(colon + 1);
        hasPort = true;
    } else if (value.find(':') != std::string_view::npos) {
        // An IPv6 address without brackets. Its last group may have been meant as a port.
        const std::size_t last = value.rfind(':');
        const std::string_view before = value.substr(0, last);
        const std::string_view group = value.substr(last + 1);
        if (AllDigits(group) && IsIpv6(before) && ReadPort(group)) {
            const std::string v(value);
            return Refuse({QT_TRANSLATE_NOOP("Rotator",
                                             "adresse ambiguë\u00A0: écrivez [%1]:%2 pour le port "
                                             "%2, ou [%3] pour l'adresse"),
                           {std::string(before), std::string(group), v}});
        }
    }
    if (hasPort) {
        port = ReadPort(portText);
        if (!port) {
            return Refuse(
                {portText.empty()
                     ? QT_TRANSLATE_NOOP("Rotator", "port manquant")
                     : QT_TRANSLATE_NOOP("Rotator", "port invalide (un nombre de 1 à 65535)")});
        }
    }
    if (Reason reason = HostReason(host); !reason.empty()) {
        return Refuse(std::move(reason));
    }
    return {Address{std::string(host), *port}, {}, {}};
}

std::string FormatAddress(const Address& address) {
    const bool v6 = address.host.find(':') != std::string::npos;
    return (v6 ? "[" + address.host + "]" : address.host) + ":" + std::to_string(address.port);
}

}  // namespace orbida::rotator
