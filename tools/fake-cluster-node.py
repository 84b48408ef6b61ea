#!/usr/bin/env python3
"""A DX Spider node as far as a user sees it, for trying Orbida by hand and for its screenshots:
it asks for the call ("login: " without a line end), greets, then sends twenty spots of stations
around the world among a WWV bulletin and an announcement, one spot cut across two writes.

Usage: tools/fake-cluster-node.py PORT        (on 127.0.0.1; Ctrl+C stops it)
"""
import socket
import sys
import time

SPOTS = [
    ("W3LPL", 14025.0, "JA1ABC", "CW 599"), ("K1TTT", 21074.0, "VK2XYZ", "FT8 -12"),
    ("DL8WX", 7012.5, "ZS6ABC", "CW"), ("G4ABC", 28495.0, "LU1XYZ", "SSB 59"),
    ("F5XYZ", 18100.0, "9M2AB", "FT8"), ("EA3ABC", 10115.0, "HS0ZAB", "CW"),
    ("PJ2A-#", 14013.2, "UA0ABC", "CW 22 dB 25 WPM"), ("VE3ABC", 24915.0, "ZL1ABC", "FT8"),
    ("N2XYZ", 3525.0, "OH2BH", "CW"), ("I2ABC", 50313.0, "CT1ABC", "FT8"),
    ("OK1ABC", 14195.0, "5Z4XYZ", "SSB"), ("SP5ABC", 21030.0, "A71AB", "CW"),
    ("ON4ABC", 7074.0, "4X6TU", "FT8"), ("HB9ABC", 28074.0, "PY2XYZ", "FT8"),
    ("W6ABC", 14070.0, "KH6ABC", "PSK31"), ("JA1XYZ", 18075.0, "VU2ABC", "CW"),
    ("K3ABC", 1822.0, "EI7ABC", "CW"), ("ZL2ABC", 21295.0, "KL7ABC", "SSB"),
    ("VK3ABC", 14205.0, "CE3ABC", "SSB"), ("SM5ABC", 10136.0, "TA1ABC", "FT8"),
]


def spot_line(spotter, khz, call, comment, hhmm):
    head = f"DX de {spotter}:".ljust(16) + f"{khz:.1f}".rjust(9) + "  " + call.ljust(13)
    return (head + comment.ljust(30) + f" {hhmm}Z\r\n").encode()


def serve(conn):
    conn.sendall(b"login: ")
    call = conn.recv(100).decode(errors="replace").strip() or "?"
    conn.sendall(f"Hello {call}, this is TEST-1 in Paris\r\n{call} de TEST-1 dxspider >\r\n".encode())
    hhmm = time.strftime("%H%M", time.gmtime())
    conn.sendall(b"WWV de VE7CC <18>:   SFI=150, A=5, K=1, No Storms -> No Storms\r\n")
    for i, spot in enumerate(SPOTS):
        line = spot_line(*spot, hhmm)
        if i == 5:
            conn.sendall(line[:20])
            time.sleep(0.2)
            conn.sendall(line[20:])
        else:
            conn.sendall(line)
        if i == 10:
            conn.sendall(b"To ALL de F5XYZ: good condx to JA on 15m\r\n")
        time.sleep(0.05)
    while conn.recv(100):
        pass


def main():
    port = int(sys.argv[1])
    server = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind(("127.0.0.1", port))
    server.listen(1)
    while True:
        conn, _ = server.accept()
        try:
            serve(conn)
        except OSError:
            pass
        finally:
            conn.close()


if __name__ == "__main__":
    main()
