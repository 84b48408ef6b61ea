<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="fr">
<context>
    <name>Display</name>
    <message>
        <source>%1 n&apos;est pas défini</source>
        <translation>%1 is not set</translation>
    </message>
    <message>
        <source>%1=%2 ne répond pas</source>
        <translation>%1=%2 does not answer</translation>
    </message>
    <message>
        <source>Orbida&#xa0;: aucun écran n&apos;est accessible (%1)&#xa0;; lancez-le depuis une session graphique, ou choisissez un autre affichage avec QT_QPA_PLATFORM.</source>
        <translation>Orbida: no display is reachable (%1); start it from a graphical session, or choose another display with QT_QPA_PLATFORM.</translation>
    </message>
</context>
<context>
    <name>Options</name>
    <message>
        <source>Il manque la valeur de l&apos;option %1.</source>
        <translation>The option %1 needs a value.</translation>
    </message>
    <message>
        <source>Option inconnue&#xa0;: %1%2</source>
        <translation>Unknown option: %1%2</translation>
    </message>
    <message>
        <source>--time attend une date et une heure UTC (exemple&#xa0;: 2026-06-21T12:00Z).</source>
        <translation>--time needs a UTC date and time (example: 2026-06-21T12:00Z).</translation>
    </message>
    <message>
        <source>Adresse de rotor invalide&#xa0;: «&#xa0;%1&#xa0;», %2 (attendu HÔTE:PORT, par exemple localhost:4533, ou [::1]:4533 en IPv6)</source>
        <translation>Invalid rotator address: “%1”, %2 (expected HOST:PORT, for example localhost:4533, or [::1]:4533 in IPv6)</translation>
    </message>
    <message>
        <source>Adresse WSJT-X invalide&#xa0;: «&#xa0;%1&#xa0;», %2 (attendu PORT ou GROUPE:PORT, par exemple 2237 ou 224.0.0.1:2237)</source>
        <translation>Invalid WSJT-X address: “%1”, %2 (expected PORT or GROUP:PORT, for example 2237 or 224.0.0.1:2237)</translation>
    </message>
    <message>
        <source>Adresse de cluster invalide&#xa0;: «&#xa0;%1&#xa0;», %2 (attendu HÔTE:PORT, par exemple dxc.example.org:7300)</source>
        <translation>Invalid cluster address: “%1”, %2 (expected HOST:PORT, for example dxc.example.org:7300)</translation>
    </message>
    <message>
        <source>--cluster demande aussi --call INDICATIF.</source>
        <translation>--cluster also needs --call CALLSIGN.</translation>
    </message>
    <message>
        <source>--lang attend en ou fr.</source>
        <translation>--lang takes en or fr.</translation>
    </message>
    <message>
        <source>Argument inattendu&#xa0;: %1</source>
        <translation>Unexpected argument: %1</translation>
    </message>
    <message>
        <source>le port doit être un nombre de 1 à 65535</source>
        <translation>the port must be a number from 1 to 65535</translation>
    </message>
    <message>
        <source>l&apos;adresse est vide ou invalide</source>
        <translation>the address is empty or invalid</translation>
    </message>
    <message>
        <source>l&apos;hôte est vide ou invalide</source>
        <translation>the host is empty or invalid</translation>
    </message>
    <message>
        <source>Usage&#xa0;: orbida [options]
Route orthodromique&#xa0;: distance, azimut et route depuis une ville vers tout point du globe.

Options&#xa0;:
  -h, --help        affiche cette aide
  -v, --version     affiche la version
  --check [FICHIER] vérifie le fichier des villes (par défaut celui que lit le programme)
                    et dit, ligne par ligne, ce qui serait mal lu&#xa0;; code de sortie 0
                    quand il est correct, 1 sinon. N&apos;ouvre aucune fenêtre.
  --cty FICHIER     lit les pays des indicatifs dans ce fichier cty.dat plutôt que dans
                    celui du dossier de données ou celui du système
  --reset           oublie les réglages retenus (ville, position, unités…)
  --rotator HÔTE:PORT
                    le démon de rotor de Hamlib (rotctld) qui oriente l&apos;antenne, pour
                    cette fois (sinon celui réglé par «&#xa0;Rotor…&#xa0;»)
                    une adresse IPv6 s&apos;écrit entre crochets&#xa0;: [::1]:4533
  --wsjtx [GROUPE:]PORT
                    écoute les messages UDP de WSJT-X, pour cette fois&#xa0;: PORT sur
                    127.0.0.1, ou un groupe multicast (224.0.0.1:2237)
  --cluster HÔTE:PORT --call INDICATIF
                    se connecte à ce nœud de cluster DX avec cet indicatif, pour cette
                    fois (port 7300 par défaut)
  --lang en|fr      parle anglais ou français, pour cette fois (sinon la langue choisie
                    dans le menu de la carte, ou celle du bureau)
  --time DATE       fixe l&apos;horloge à un instant UTC (2026-06-21T12:00Z), pour voir la
                    ligne grise d&apos;une date prévue&#xa0;; pour les essais et la préparation
</source>
        <translation>Usage: orbida [options]
Great-circle route: distance, azimuth and route from a city to any point of the globe.

Options:
  -h, --help        shows this help
  -v, --version     shows the version
  --check [FILE]    checks the city file (by default the one the program reads) and
                    says, line by line, what would be misread; exit status 0 when it
                    is correct, 1 otherwise. Opens no window.
  --cty FILE        reads the countries of callsigns from this cty.dat file instead of
                    the one of the data folder or the system&apos;s
  --reset           forgets the remembered settings (city, position, units…)
  --rotator HOST:PORT
                    the Hamlib rotator daemon (rotctld) that turns the antenna, for this
                    run (otherwise the one set with “Rotator…”)
                    an IPv6 address is written in brackets: [::1]:4533
  --wsjtx [GROUP:]PORT
                    listens to WSJT-X&apos;s UDP messages, for this run: PORT on 127.0.0.1,
                    or a multicast group (224.0.0.1:2237)
  --cluster HOST:PORT --call CALLSIGN
                    connects to this DX cluster node with this callsign, for this run
                    (port 7300 by default)
  --lang en|fr      speaks English or French, for this run (otherwise the language
                    chosen in the map&apos;s menu, or the desktop&apos;s)
  --time DATE       sets the clock to a UTC instant (2026-06-21T12:00Z), to see the grey
                    line of a planned date; for tests and planning
</translation>
    </message>
</context>
<context>
    <name>SettingsPart</name>
    <message>
        <source>Celle du bureau</source>
        <translation>The desktop&apos;s</translation>
    </message>
    <message>
        <source>(au prochain démarrage)</source>
        <translation>(at the next start)</translation>
    </message>
    <message>
        <source>orbida&#xa0;: </source>
        <translation>orbida: </translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Fichier&#xa0;: %1
</source>
        <translation>File: %1
</translation>
    </message>
    <message>
        <source>orbida&#xa0;: %1
Voir «&#xa0;orbida --help&#xa0;».
</source>
        <translation>orbida: %1
See “orbida --help”.
</translation>
    </message>
    <message>
        <source>orbida&#xa0;: %1
</source>
        <translation>orbida: %1
</translation>
    </message>
</context>
</TS>
