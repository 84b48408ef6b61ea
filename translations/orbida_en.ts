<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="fr">
<context>
    <name>AboutBox</name>
    <message>
        <source>La version 2 permet,  via le site %1,  de situer avec plus de précision la ville sélectionnée. - Connexion Internet indispensable -</source>
        <translation>Version 2 can show the selected city more precisely through the %1 site. - Internet connection required -</translation>
    </message>
    <message>
        <source>La base de données concernant les villes est issue de la base    &quot;GeoNames&quot;  .Elle peut-être modifiée et complètée: Voir fichier &quot;Villes.txt&quot; dans le répertoire  &quot;ORBIDA&quot;.</source>
        <translation>The city database comes from the &quot;GeoNames&quot; database. It can be edited and extended: see the file &quot;Villes.txt&quot; in the &quot;ORBIDA&quot; folder.</translation>
    </message>
    <message>
        <source> &quot;Orbida&quot;  donne également les coordonnées géographiques des points choisis ainsi que le Locator de la ville de référence.</source>
        <translation> &quot;Orbida&quot; also gives the geographic coordinates of the chosen points and the locator of the home city.</translation>
    </message>
    <message>
        <source>Cette route (Orthodromie) et la route idéale que suit un avion volant sans escale entre les  points choisis. (En réalité, d&apos;autres données telles que les couloirs aériens officiels, les vents dominants...peuvent infléchir ce choix) </source>
        <translation>This route (great circle) is the ideal route of a plane flying non-stop between the chosen points. (In reality, other factors such as official air corridors or prevailing winds may change this choice.) </translation>
    </message>
    <message>
        <source>Affichage de la route la plus courte et de la distance  entre une ville  et tout autre point du globe</source>
        <translation>Shows the shortest route and the distance between a city and any other point of the globe</translation>
    </message>
    <message>
        <source>Il précise également l&apos;azimut  à partir de  cette ville. Ceci  permet, par exemple,  à un radio amateur d&apos;orienter ses antennes sur une région du monde de façon optimale. C&apos;est aussi  la direction prise, dés le décollage,  par  notre avion.</source>
        <translation>It also gives the azimuth from that city. This lets a radio amateur, for example, point the antennas at any region of the world in the best way. It is also the heading our plane takes right after take-off.</translation>
    </message>
    <message>
        <source>D&apos;autres logiciels sur le site</source>
        <translation>More software on the site</translation>
    </message>
    <message>
        <source> Version %1.%2</source>
        <translation> Version %1.%2</translation>
    </message>
    <message>
        <source>Liste des villes : GeoNames (CC BY 4.0)</source>
        <translation>City list: GeoNames (CC BY 4.0)</translation>
    </message>
</context>
<context>
    <name>AzimuthalPart</name>
    <message>
        <source>Carte azimutale</source>
        <translation>Azimuthal map</translation>
    </message>
    <message>
        <source>Orbida — carte azimutale</source>
        <translation>Orbida — azimuthal map</translation>
    </message>
</context>
<context>
    <name>BeaconPart</name>
    <message>
        <source>Indicatif</source>
        <translation>Call</translation>
    </message>
    <message>
        <source>Site</source>
        <translation>Location</translation>
    </message>
    <message>
        <source>Azimut</source>
        <translation>Azimuth</translation>
    </message>
    <message>
        <source>Distance</source>
        <translation>Distance</translation>
    </message>
    <message>
        <source>Long chemin</source>
        <translation>Long path</translation>
    </message>
    <message>
        <source>Reste</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>Balises NCDXF</source>
        <translation>NCDXF beacons</translation>
    </message>
    <message>
        <source>Orbida — balises NCDXF</source>
        <translation>Orbida — NCDXF beacons</translation>
    </message>
</context>
<context>
    <name>CallsignPart</name>
    <message>
        <source>Fichier des pays&#xa0;: %1</source>
        <translation>Country file: %1</translation>
    </message>
    <message>
        <source>Aucun fichier des pays&#xa0;: la lecture des indicatifs est désactivée.</source>
        <translation>No country file: callsign lookup is off.</translation>
    </message>
    <message>
        <source>«&#xa0;%1&#xa0;»&#xa0;: un mobile maritime ou aéronautique n&apos;a pas de pays.</source>
        <translation>“%1”: a maritime or aeronautical mobile has no country.</translation>
    </message>
    <message>
        <source>«&#xa0;%1&#xa0;» n&apos;est pas un indicatif.</source>
        <translation>“%1” is not a callsign.</translation>
    </message>
    <message>
        <source>Aucun pays ne correspond à l&apos;indicatif «&#xa0;%1&#xa0;».</source>
        <translation>No country matches the callsign “%1”.</translation>
    </message>
    <message>
        <source>%1  CQ %2  UIT %3  %4</source>
        <translation>%1  CQ %2  ITU %3  %4</translation>
    </message>
    <message>
        <source>orbida&#xa0;: %1</source>
        <translation>orbida: %1</translation>
    </message>
    <message>
        <source>%1, version %2</source>
        <translation>%1, version %2</translation>
    </message>
    <message>
        <source>%1, version «&#xa0;%2&#xa0;» (entrée =VERSION)</source>
        <translation>%1, version “%2” (=VERSION entry)</translation>
    </message>
    <message>
        <source>%1, du %2</source>
        <translation>%1, of %2</translation>
    </message>
</context>
<context>
    <name>CityCheck</name>
    <message>
        <source>l&apos;infini</source>
        <translation>infinity</translation>
    </message>
    <message>
        <source>moins l&apos;infini</source>
        <translation>minus infinity</translation>
    </message>
    <message>
        <source>«&#xa0;%1&#xa0;»</source>
        <translation>“%1”</translation>
    </message>
    <message>
        <source>les villes suivantes retrouvent leurs propres coordonnées</source>
        <translation>the cities that follow get their own coordinates back</translation>
    </message>
    <message numerus="yes">
        <source>%n&#xa0;ville(s)</source>
        <translation>
            <numerusform>%n city</numerusform>
            <numerusform>%n cities</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n&#xa0;champ(s)</source>
        <translation>
            <numerusform>%n field</numerusform>
            <numerusform>%n fields</numerusform>
        </translation>
    </message>
    <message>
        <source>toutes les villes suivantes sont décalées de %1 et reçoivent des coordonnées qui ne sont pas les leurs</source>
        <translation>every city that follows is shifted by %1 and gets coordinates that are not its own</translation>
    </message>
    <message>
        <source>… (%1 en tout)</source>
        <translation>… (%1 in all)</translation>
    </message>
    <message>
        <source>nom %1</source>
        <translation>name %1</translation>
    </message>
    <message>
        <source>coordonnée %1</source>
        <translation>coordinate %1</translation>
    </message>
    <message>
        <source>un guillemet ouvert n&apos;est jamais fermé&#xa0;: tout le reste du fichier est lu comme un seul nom</source>
        <translation>a quotation mark is opened and never closed: the whole rest of the file is read as one name</translation>
    </message>
    <message>
        <source>%1 vaut 0, et un champ qui vaut 0 est lu comme un nom&#xa0;; écrivez une petite valeur comme 0.001</source>
        <translation>%1 is 0, and a field that is 0 is read as a name; write a small value such as 0.001</translation>
    </message>
    <message>
        <source>la virgule de %1 coupe le nombre en deux&#xa0;; le séparateur décimal est le point&#xa0;: %2</source>
        <translation>the comma in %1 cuts the number in two; the decimal separator is the point: %2</translation>
    </message>
    <message>
        <source>%1 commence par un nombre et se lit donc comme une coordonnée&#xa0;; un nom ne doit pas commencer par un chiffre</source>
        <translation>%1 starts with a number and so is read as a coordinate; a name must not start with a digit</translation>
    </message>
    <message>
        <source>%1 est trop grand pour servir de coordonnée&#xa0;: cette ville ne pourra pas être choisie</source>
        <translation>%1 is too large to be a coordinate: this city cannot be chosen</translation>
    </message>
    <message>
        <source>une virgule coupe le nom en %1&#xa0;; mettez un nom qui contient une virgule entre guillemets</source>
        <translation>a comma cuts the name into %1; put a name that contains a comma between quotation marks</translation>
    </message>
    <message numerus="yes">
        <source>%n&#xa0;morceau(s)</source>
        <translation>
            <numerusform>%n piece</numerusform>
            <numerusform>%n pieces</numerusform>
        </translation>
    </message>
    <message>
        <source>il manque %1 (il en faut deux par nom)</source>
        <translation>%1 missing (two are needed for each name)</translation>
    </message>
    <message numerus="yes">
        <source>%n&#xa0;coordonnée(s)</source>
        <translation>
            <numerusform>%n coordinate</numerusform>
            <numerusform>%n coordinates</numerusform>
        </translation>
    </message>
    <message>
        <source>il y a %1 de trop</source>
        <translation>%1 too many</translation>
    </message>
    <message>
        <source>… et %1</source>
        <translation>… and %1</translation>
    </message>
    <message numerus="yes">
        <source>%n&#xa0;autre(s)</source>
        <translation>
            <numerusform>%n other</numerusform>
            <numerusform>%n others</numerusform>
        </translation>
    </message>
    <message>
        <source>les autres villes n&apos;en souffrent pas</source>
        <translation>the other cities are not affected</translation>
    </message>
    <message>
        <source>Ligne %1&#xa0;: %2
</source>
        <translation>Line %1: %2
</translation>
    </message>
    <message>
        <source>  lu comme&#xa0;: %1
</source>
        <translation>  read as: %1
</translation>
    </message>
    <message>
        <source>%1 et %2</source>
        <translation>%1 and %2</translation>
    </message>
    <message numerus="yes">
        <source>%n&#xa0;nom(s)</source>
        <translation>
            <numerusform>%n name</numerusform>
            <numerusform>%n names</numerusform>
        </translation>
    </message>
    <message>
        <source>Aucun problème&#xa0;: %1 (%2).
</source>
        <translation>No problem: %1 (%2).
</translation>
    </message>
    <message>
        <source>%1 à corriger&#xa0;; %2 lus, il faut deux coordonnées par nom.
</source>
        <translation>%1 to correct; %2 read, two coordinates are needed for each name.
</translation>
    </message>
    <message numerus="yes">
        <source>%n&#xa0;ligne(s)</source>
        <translation>
            <numerusform>%n line</numerusform>
            <numerusform>%n lines</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CityFile</name>
    <message>
        <source>Le fichier des villes «&#xa0;%1&#xa0;» n&apos;a pas pu être lu dans le dossier&#xa0;:
%2
%3</source>
        <translation>The city file “%1” could not be read in the folder:
%2
%3</translation>
    </message>
    <message>
        <source>Le fichier des villes «&#xa0;%1&#xa0;» est introuvable dans le dossier&#xa0;:
%2</source>
        <translation>The city file “%1” is not in the folder:
%2</translation>
    </message>
</context>
<context>
    <name>Clock</name>
    <message>
        <source>--time : « %1 » n&apos;est pas une date et une heure ISO 8601 (exemple : 2026-06-21T12:00Z)</source>
        <translation>--time: “%1” is not an ISO 8601 date and time (example: 2026-06-21T12:00Z)</translation>
    </message>
    <message>
        <source>--time : « %1 » n&apos;a pas d&apos;heure (exemple : 2026-06-21T12:00Z)</source>
        <translation>--time: “%1” has no time of day (example: 2026-06-21T12:00Z)</translation>
    </message>
    <message>
        <source>--time : « %1 » doit être en UTC, terminé par Z (exemple : 2026-06-21T12:00Z)</source>
        <translation>--time: “%1” must be in UTC, ending with Z (example: 2026-06-21T12:00Z)</translation>
    </message>
    <message>
        <source>--time : l&apos;année %1 est hors de la plage 1900 à 2200</source>
        <translation>--time: the year %1 is outside the range 1900 to 2200</translation>
    </message>
</context>
<context>
    <name>Cluster</name>
    <message>
        <source>pas de réponse du nœud</source>
        <translation>no answer from the node</translation>
    </message>
    <message>
        <source>aucun nœud indiqué</source>
        <translation>no node given</translation>
    </message>
    <message>
        <source>adresse du nœud invalide</source>
        <translation>invalid node address</translation>
    </message>
    <message>
        <source>indicatif invalide (lettres, chiffres, / et un SSID : F4ABC-2)</source>
        <translation>invalid callsign (letters, digits, / and an SSID: F4ABC-2)</translation>
    </message>
    <message>
        <source>mot de passe invalide (caractère de contrôle)</source>
        <translation>invalid password (control character)</translation>
    </message>
    <message>
        <source>cluster : connecté à %1</source>
        <translation>cluster: connected to %1</translation>
    </message>
    <message>
        <source>cluster : connexion perdue</source>
        <translation>cluster: connection lost</translation>
    </message>
    <message>
        <source>cluster : indicatif déjà connecté</source>
        <translation>cluster: callsign already logged on</translation>
    </message>
    <message>
        <source>cluster : identification refusée</source>
        <translation>cluster: login refused</translation>
    </message>
</context>
<context>
    <name>CountryFile</name>
    <message numerus="yes">
        <source>%n élément(s) illisible(s) ignoré(s) (ligne(s) %1).</source>
        <translation>
            <numerusform>%n unreadable entry skipped (line %1).</numerusform>
            <numerusform>%n unreadable entries skipped (lines %1).</numerusform>
        </translation>
    </message>
    <message>
        <source>Fichier trop grand&#xa0;: seuls ses %1 premiers Mo ont été lus.</source>
        <translation>File too large: only its first %1 MB were read.</translation>
    </message>
    <message>
        <source>Le fichier des pays «&#xa0;%1&#xa0;» n&apos;a pas pu être lu&#xa0;: %2</source>
        <translation>The country file “%1” could not be read: %2</translation>
    </message>
    <message>
        <source>Le fichier des pays «&#xa0;%1&#xa0;» donné par --cty est introuvable&#xa0;: la lecture des indicatifs est désactivée.</source>
        <translation>The country file “%1” given with --cty is not there: callsign look-up is turned off.</translation>
    </message>
    <message>
        <source>Le fichier des pays «&#xa0;%1&#xa0;» donné par --cty n&apos;a pas pu être lu&#xa0;: %2 La lecture des indicatifs est désactivée.</source>
        <translation>The country file “%1” given with --cty could not be read: %2 Callsign look-up is turned off.</translation>
    </message>
    <message>
        <source>Aucun fichier des pays&#xa0;: placez un fichier «&#xa0;cty.dat&#xa0;» dans le dossier de données d&apos;Orbida (ou installez le paquet hamradio-files) pour retrouver le pays d&apos;un indicatif.</source>
        <translation>No country file: put a “cty.dat” file in Orbida&apos;s data folder (or install the hamradio-files package) to find the country of a callsign.</translation>
    </message>
    <message>
        <source>Aucun fichier des pays&#xa0;: placez un fichier «&#xa0;cty.dat&#xa0;» dans le dossier «&#xa0;%1&#xa0;» (ou installez le paquet hamradio-files) pour retrouver le pays d&apos;un indicatif.</source>
        <translation>No country file: put a “cty.dat” file in the folder “%1” (or install the hamradio-files package) to find the country of a callsign.</translation>
    </message>
    <message>
        <source>Le fichier des pays «&#xa0;%1&#xa0;» ne contient aucun préfixe lisible.</source>
        <translation>The country file “%1” holds no readable prefix.</translation>
    </message>
    <message>
        <source>Fichier des pays «&#xa0;%1&#xa0;»&#xa0;: %2</source>
        <translation>Country file “%1”: %2</translation>
    </message>
</context>
<context>
    <name>DiscMap</name>
    <message>
        <source>Carte azimutale</source>
        <translation>Azimuthal map</translation>
    </message>
    <message>
        <source>O</source>
        <translation>W</translation>
    </message>
    <message>
        <source>antipode</source>
        <translation>antipode</translation>
    </message>
</context>
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
    <name>Form1</name>
    <message>
        <source>Impossible de se connecter au site GoogleMaps</source>
        <translation>Cannot connect to the GoogleMaps site</translation>
    </message>
    <message>
        <source>    Choisir un ville</source>
        <translation>    Choose a city</translation>
    </message>
    <message>
        <source>Longitude</source>
        <translation>Longitude</translation>
    </message>
    <message>
        <source>Latitude</source>
        <translation>Latitude</translation>
    </message>
    <message>
        <source>Distance</source>
        <translation>Distance</translation>
    </message>
    <message>
        <source>Localisation d&apos;une ville</source>
        <translation>City location</translation>
    </message>
    <message>
        <source>Longitude:</source>
        <translation>Longitude:</translation>
    </message>
    <message>
        <source>Latitude:</source>
        <translation>Latitude:</translation>
    </message>
    <message>
        <source>Locator:</source>
        <translation>Locator:</translation>
    </message>
    <message>
        <source>Valider</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Quitter</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>   Azimut </source>
        <translation>   Azimuth </translation>
    </message>
    <message>
        <source>Ville --&gt; curseur</source>
        <translation>City --&gt; cursor</translation>
    </message>
    <message>
        <source>Réduire</source>
        <translation>Minimise</translation>
    </message>
    <message>
        <source>A propos</source>
        <translation>About</translation>
    </message>
</context>
<context>
    <name>GreyLinePart</name>
    <message>
        <source>Ligne grise</source>
        <translation>Grey line</translation>
    </message>
    <message>
        <source>Domicile</source>
        <translation>Home</translation>
    </message>
    <message>
        <source>Cible</source>
        <translation>Target</translation>
    </message>
    <message>
        <source>%1 UTC (veille)</source>
        <translation>%1 UTC (day before)</translation>
    </message>
    <message>
        <source>%1 UTC (lendemain)</source>
        <translation>%1 UTC (day after)</translation>
    </message>
    <message>
        <source>%1 UTC</source>
        <translation>%1 UTC</translation>
    </message>
    <message>
        <source>%1 : Jour polaire</source>
        <translation>%1: Polar day</translation>
    </message>
    <message>
        <source>%1 : Nuit polaire</source>
        <translation>%1: Polar night</translation>
    </message>
    <message>
        <source>%1 : Lever %2 · Coucher %3</source>
        <translation>%1: Rise %2 · Set %3</translation>
    </message>
</context>
<context>
    <name>HomeEntry</name>
    <message>
        <source>Nombre trop long.</source>
        <translation>Number too long.</translation>
    </message>
    <message>
        <source>Caractère inattendu « %1 ».</source>
        <translation>Unexpected character “%1”.</translation>
    </message>
    <message>
        <source>Coordonnées illisibles : écrivez par exemple « 48.8566N 2.3522E ».</source>
        <translation>Unreadable coordinates: write for example “48.8566N 2.3522E”.</translation>
    </message>
    <message>
        <source>Il manque la lettre N, S, E ou O de chaque coordonnée.</source>
        <translation>Each coordinate needs its letter N, S, E or W.</translation>
    </message>
    <message>
        <source>Aucune ville ne commence par «&#xa0;%1&#xa0;»</source>
        <translation>No city starts with “%1”</translation>
    </message>
    <message>
        <source>Il faut deux coordonnées : une latitude (N ou S) et une longitude (E ou O).</source>
        <translation>Two coordinates are needed: a latitude (N or S) and a longitude (E or W).</translation>
    </message>
    <message>
        <source>Deux latitudes : il faut une latitude (N ou S) et une longitude (E ou O).</source>
        <translation>Two latitudes: a latitude (N or S) and a longitude (E or W) are needed.</translation>
    </message>
    <message>
        <source>Deux longitudes : il faut une latitude (N ou S) et une longitude (E ou O).</source>
        <translation>Two longitudes: a latitude (N or S) and a longitude (E or W) are needed.</translation>
    </message>
    <message>
        <source>Minutes et secondes vont de 0 à 59.</source>
        <translation>Minutes and seconds go from 0 to 59.</translation>
    </message>
    <message>
        <source>Latitude hors limites : 90° au plus.</source>
        <translation>Latitude out of range: 90° at most.</translation>
    </message>
    <message>
        <source>Longitude hors limites : 180° au plus.</source>
        <translation>Longitude out of range: 180° at most.</translation>
    </message>
    <message>
        <source>Locator hors limites : lettres de A à R, chiffres de 0 à 9, puis lettres de A à X.</source>
        <translation>Locator out of range: letters A to R, digits 0 to 9, then letters A to X.</translation>
    </message>
    <message>
        <source>Locator incomplet : 4, 6, 8 ou 10 caractères, lettres et chiffres par paires (JN18EU).</source>
        <translation>Incomplete locator: 4, 6, 8 or 10 characters, letters and digits in pairs (JN18EU).</translation>
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
    <name>PinPart</name>
    <message>
        <source>Libérer le point</source>
        <translation>Release the point</translation>
    </message>
    <message>
        <source>Épingler ce point</source>
        <translation>Pin this point</translation>
    </message>
    <message>
        <source>	Clic gauche</source>
        <translation>	Left click</translation>
    </message>
    <message>
        <source>Clic gauche</source>
        <translation>Left click</translation>
    </message>
</context>
<context>
    <name>ReadingsPart</name>
    <message>
        <source>Long chemin</source>
        <translation>Long path</translation>
    </message>
    <message>
        <source>Unités</source>
        <translation>Units</translation>
    </message>
    <message>
        <source>Kilomètres (Kms)</source>
        <translation>Kilometres (Kms)</translation>
    </message>
    <message>
        <source>Miles terrestres (Miles)</source>
        <translation>Statute miles (Miles)</translation>
    </message>
    <message>
        <source>Milles nautiques (Nq)</source>
        <translation>Nautical miles (Nq)</translation>
    </message>
    <message>
        <source>Unité suivante</source>
        <translation>Next unit</translation>
    </message>
</context>
<context>
    <name>Readout</name>
    <message>
        <source>Est</source>
        <translation>East</translation>
    </message>
    <message>
        <source>Ouest</source>
        <translation>West</translation>
    </message>
    <message>
        <source>Nord</source>
        <translation>North</translation>
    </message>
    <message>
        <source>Sud</source>
        <translation>South</translation>
    </message>
    <message>
        <source>  est à %1</source>
        <extracomment>Where the pointer is, after the home city&apos;s name: &quot;Paris est à 5837 Kms&quot;.</extracomment>
        <translation>  is %1 away</translation>
    </message>
</context>
<context>
    <name>Rotator</name>
    <message>
        <source>pas de réponse</source>
        <translation>no answer</translation>
    </message>
    <message>
        <source>aucune adresse</source>
        <translation>no address</translation>
    </message>
    <message>
        <source>pas de réponse (connexion fermée par le rotor)</source>
        <translation>no answer (connection closed by the rotator)</translation>
    </message>
    <message>
        <source>azimut %1 hors de portée (%2…%3)</source>
        <translation>azimuth %1 out of range (%2…%3)</translation>
    </message>
    <message>
        <source>modèle n° %1</source>
        <translation>model no. %1</translation>
    </message>
    <message>
        <source>module réseau absent</source>
        <translation>network module missing</translation>
    </message>
    <message>
        <source>module réseau d&apos;une autre version</source>
        <translation>network module of another version</translation>
    </message>
    <message>
        <source>connexion refusée</source>
        <translation>connection refused</translation>
    </message>
    <message>
        <source>hôte introuvable</source>
        <translation>host not found</translation>
    </message>
    <message>
        <source>réseau inaccessible</source>
        <translation>network unreachable</translation>
    </message>
    <message>
        <source>erreur réseau</source>
        <translation>network error</translation>
    </message>
    <message>
        <source>port %1 déjà utilisé</source>
        <translation>port %1 already in use</translation>
    </message>
    <message>
        <source>adresse %1 absente de cet ordinateur</source>
        <translation>address %1 is not on this computer</translation>
    </message>
    <message>
        <source>écoute impossible sur %1 port %2</source>
        <translation>cannot listen on %1 port %2</translation>
    </message>
    <message>
        <source>adresse invalide : %1</source>
        <translation>invalid address: %1</translation>
    </message>
    <message>
        <source>aucune interface ne peut rejoindre le groupe %1</source>
        <translation>no interface can join group %1</translation>
    </message>
    <message>
        <source>envoi impossible vers %1 port %2</source>
        <translation>cannot send to %1 port %2</translation>
    </message>
    <message>
        <source>adresse IPv6 invalide</source>
        <translation>invalid IPv6 address</translation>
    </message>
    <message>
        <source>aucun hôte</source>
        <translation>no host</translation>
    </message>
    <message>
        <source>nom d&apos;hôte trop long (plus de %1 caractères)</source>
        <translation>host name too long (more than %1 characters)</translation>
    </message>
    <message>
        <source>espace dans le nom d&apos;hôte</source>
        <translation>blank in the host name</translation>
    </message>
    <message>
        <source>caractère de contrôle dans le nom d&apos;hôte</source>
        <translation>control character in the host name</translation>
    </message>
    <message>
        <source>caractère non ASCII dans le nom d&apos;hôte</source>
        <translation>non-ASCII character in the host name</translation>
    </message>
    <message>
        <source>caractère «&#xa0;%1&#xa0;» interdit dans un nom d&apos;hôte</source>
        <translation>character “%1” not allowed in a host name</translation>
    </message>
    <message>
        <source>nom d&apos;hôte invalide</source>
        <translation>invalid host name</translation>
    </message>
    <message>
        <source>adresse IPv4 invalide</source>
        <translation>invalid IPv4 address</translation>
    </message>
    <message>
        <source>crochet fermant manquant</source>
        <translation>closing bracket missing</translation>
    </message>
    <message>
        <source>seule une adresse IPv6 s&apos;écrit entre crochets</source>
        <translation>only an IPv6 address is written in brackets</translation>
    </message>
    <message>
        <source>après les crochets, seul «&#xa0;:PORT&#xa0;» peut suivre</source>
        <translation>after the brackets, only “:PORT” may follow</translation>
    </message>
    <message>
        <source>adresse ambiguë&#xa0;: écrivez [%1]:%2 pour le port %2, ou [%3] pour l&apos;adresse</source>
        <translation>ambiguous address: write [%1]:%2 for port %2, or [%3] for the address</translation>
    </message>
    <message>
        <source>port manquant</source>
        <translation>port missing</translation>
    </message>
    <message>
        <source>port invalide (un nombre de 1 à 65535)</source>
        <translation>invalid port (a number from 1 to 65535)</translation>
    </message>
    <message>
        <source>erreur %1</source>
        <translation>error %1</translation>
    </message>
    <message>
        <source>erreur %1 (paramètre refusé)</source>
        <translation>error %1 (invalid parameter)</translation>
    </message>
    <message>
        <source>erreur %1 (configuration invalide)</source>
        <translation>error %1 (invalid configuration)</translation>
    </message>
    <message>
        <source>erreur %1 (mémoire insuffisante)</source>
        <translation>error %1 (out of memory)</translation>
    </message>
    <message>
        <source>erreur %1 (commande non prise en charge)</source>
        <translation>error %1 (command not implemented)</translation>
    </message>
    <message>
        <source>erreur %1 (délai dépassé)</source>
        <translation>error %1 (timed out)</translation>
    </message>
    <message>
        <source>erreur %1 (erreur d&apos;entrée-sortie)</source>
        <translation>error %1 (input/output error)</translation>
    </message>
    <message>
        <source>erreur %1 (erreur interne)</source>
        <translation>error %1 (internal error)</translation>
    </message>
    <message>
        <source>erreur %1 (erreur de protocole)</source>
        <translation>error %1 (protocol error)</translation>
    </message>
    <message>
        <source>erreur %1 (commande rejetée)</source>
        <translation>error %1 (command rejected)</translation>
    </message>
    <message>
        <source>erreur %1 (texte tronqué)</source>
        <translation>error %1 (text truncated)</translation>
    </message>
    <message>
        <source>erreur %1 (fonction indisponible)</source>
        <translation>error %1 (function not available)</translation>
    </message>
    <message>
        <source>erreur %1 (valeur hors limites)</source>
        <translation>error %1 (value out of range)</translation>
    </message>
    <message>
        <source>réponse inattendue</source>
        <translation>unexpected answer</translation>
    </message>
    <message>
        <source>réponse sans question</source>
        <translation>answer without a question</translation>
    </message>
    <message>
        <source>ligne trop longue</source>
        <translation>line too long</translation>
    </message>
    <message>
        <source>connexion coupée au milieu d&apos;une réponse</source>
        <translation>connection cut in the middle of an answer</translation>
    </message>
    <message>
        <source>réponse illisible</source>
        <translation>unreadable answer</translation>
    </message>
    <message>
        <source>position illisible</source>
        <translation>unreadable position</translation>
    </message>
    <message>
        <source>réponse trop longue</source>
        <translation>answer too long</translation>
    </message>
    <message>
        <source>version du protocole non prise en charge</source>
        <translation>protocol version not supported</translation>
    </message>
    <message>
        <source>limites du rotor illisibles</source>
        <translation>unreadable rotator limits</translation>
    </message>
</context>
<context>
    <name>RotatorDialog</name>
    <message>
        <source>Tester</source>
        <translation>Test</translation>
    </message>
    <message>
        <source>Rotor</source>
        <translation>Rotator</translation>
    </message>
    <message>
        <source>aucun rotor</source>
        <translation>no rotator</translation>
    </message>
    <message>
        <source>Adresse du démon de rotor de Hamlib (rotctld). Hôte vide : pas de rotor.</source>
        <translation>Address of the Hamlib rotator daemon (rotctld). Empty host: no rotator.</translation>
    </message>
    <message>
        <source>Hôte :</source>
        <translation>Host:</translation>
    </message>
    <message>
        <source>Port :</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>Annuler</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>aucun hôte</source>
        <translation>no host</translation>
    </message>
    <message>
        <source>Connexion à %1…</source>
        <translation>Connecting to %1…</translation>
    </message>
    <message>
        <source>Adresse refusée : %1</source>
        <translation>Address refused: %1</translation>
    </message>
    <message>
        <source>Échec : %1</source>
        <translation>Failed: %1</translation>
    </message>
</context>
<context>
    <name>RotatorPart</name>
    <message>
        <source>Orienter l&apos;antenne (court chemin)</source>
        <translation>Turn the antenna (short path)</translation>
    </message>
    <message>
        <source>Orienter l&apos;antenne (long chemin)</source>
        <translation>Turn the antenna (long path)</translation>
    </message>
    <message>
        <source>Arrêter le rotor</source>
        <translation>Stop the rotator</translation>
    </message>
    <message>
        <source>Rotor…</source>
        <translation>Rotator…</translation>
    </message>
</context>
<context>
    <name>SafeFile</name>
    <message>
        <source>Il pèse %1&#xa0;Mo, au-delà de la limite de %2&#xa0;Mo.</source>
        <translation>It weighs %1 MB, beyond the limit of %2 MB.</translation>
    </message>
    <message>
        <source>Il n&apos;existe pas, ou c&apos;est un lien symbolique vers un fichier absent.</source>
        <translation>It does not exist, or it is a symbolic link to a missing file.</translation>
    </message>
    <message>
        <source>Les liens symboliques forment une boucle.</source>
        <translation>The symbolic links form a loop.</translation>
    </message>
    <message>
        <source>L&apos;écriture y est refusée.</source>
        <translation>Writing to it is refused.</translation>
    </message>
    <message>
        <source>L&apos;accès en lecture est refusé.</source>
        <translation>Reading it is refused.</translation>
    </message>
    <message>
        <source>C&apos;est un tube nommé ou une prise réseau locale, pas un fichier ordinaire.</source>
        <translation>It is a named pipe or a local socket, not a regular file.</translation>
    </message>
    <message>
        <source>C&apos;est une prise réseau locale, pas un fichier ordinaire.</source>
        <translation>It is a local socket, not a regular file.</translation>
    </message>
    <message>
        <source>Il est sur un système de fichiers en lecture seule.</source>
        <translation>It is on a read-only file system.</translation>
    </message>
    <message>
        <source>Un élément de son chemin n&apos;est pas un dossier.</source>
        <translation>A part of its path is not a folder.</translation>
    </message>
    <message>
        <source>Le disque est plein.</source>
        <translation>The disk is full.</translation>
    </message>
    <message>
        <source>Erreur système %1.</source>
        <translation>System error %1.</translation>
    </message>
    <message>
        <source>C&apos;est un dossier, pas un fichier ordinaire.</source>
        <translation>It is a folder, not a regular file.</translation>
    </message>
    <message>
        <source>C&apos;est un tube nommé, pas un fichier ordinaire.</source>
        <translation>It is a named pipe, not a regular file.</translation>
    </message>
    <message>
        <source>C&apos;est un périphérique, pas un fichier ordinaire.</source>
        <translation>It is a device, not a regular file.</translation>
    </message>
    <message>
        <source>Ce n&apos;est pas un fichier ordinaire.</source>
        <translation>It is not a regular file.</translation>
    </message>
    <message>
        <source>Il n&apos;existe pas.</source>
        <translation>It does not exist.</translation>
    </message>
    <message>
        <source>Il ne s&apos;ouvre pas.</source>
        <translation>It does not open.</translation>
    </message>
    <message>
        <source>La lecture a échoué.</source>
        <translation>Reading failed.</translation>
    </message>
    <message>
        <source>L&apos;écriture a échoué.</source>
        <translation>Writing failed.</translation>
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
        <source>orbida&#xa0;: %1</source>
        <translation>orbida: %1</translation>
    </message>
</context>
<context>
    <name>SettingsStore</name>
    <message>
        <source>le fichier des réglages «&#xa0;%1&#xa0;» n&apos;a pas pu être lu, faute de dossier temporaire où le lire.</source>
        <translation>the settings file “%1” could not be read, for lack of a temporary folder to read it in.</translation>
    </message>
    <message>
        <source>Le fichier des réglages «&#xa0;%1&#xa0;» est ignoré&#xa0;: %2 Orbida n&apos;y écrira plus que ses propres réglages.</source>
        <translation>The settings file “%1” is ignored: %2 Orbida will write only its own settings to it from now on.</translation>
    </message>
    <message>
        <source>le fichier des réglages «&#xa0;%1&#xa0;» ne peut pas être lu. %2</source>
        <translation>the settings file “%1” cannot be read. %2</translation>
    </message>
    <message>
        <source>aucun dossier temporaire où préparer le fichier «&#xa0;%1&#xa0;».</source>
        <translation>no temporary folder to prepare the file “%1” in.</translation>
    </message>
    <message>
        <source>le dossier «&#xa0;%1&#xa0;» ne peut pas être créé (il est en lecture seule, ou son accès est refusé).</source>
        <translation>the folder “%1” cannot be created (it is read-only, or access to it is denied).</translation>
    </message>
    <message>
        <source>le fichier des réglages «&#xa0;%1&#xa0;» ne peut pas être écrit. %2</source>
        <translation>the settings file “%1” cannot be written. %2</translation>
    </message>
    <message>
        <source>Les réglages ne seront pas gardés après cette session&#xa0;: %1</source>
        <translation>The settings will not be kept after this session: %1</translation>
    </message>
</context>
<context>
    <name>StationsPart</name>
    <message>
        <source>Stations…</source>
        <translation>Stations…</translation>
    </message>
    <message>
        <source>%1  %2
%3 %4  %5 dB  il y a %6 s
%7  %8 (long chemin %9 °)</source>
        <translation>%1  %2
%3 %4  %5 dB  %6 s ago
%7  %8 (long path %9 °)</translation>
    </message>
    <message>
        <source>WSJT-X : arrêté</source>
        <translation>WSJT-X: stopped</translation>
    </message>
    <message>
        <source>WSJT-X : à l&apos;écoute sur %1:%2</source>
        <translation>WSJT-X: listening on %1:%2</translation>
    </message>
    <message>
        <source>Réponse demandée à WSJT-X</source>
        <translation>Reply asked of WSJT-X</translation>
    </message>
    <message>
        <source>cluster : %1</source>
        <translation>cluster: %1</translation>
    </message>
</context>
<context>
    <name>StationsWindow</name>
    <message>
        <source>Orbida — stations</source>
        <translation>Orbida — stations</translation>
    </message>
    <message>
        <source>Écouter WSJT-X</source>
        <translation>Listen to WSJT-X</translation>
    </message>
    <message>
        <source>127.0.0.1, ou un groupe multicast (224.0.0.1, 239.255.0.1, ff02::1…)</source>
        <translation>127.0.0.1, or a multicast group (224.0.0.1, 239.255.0.1, ff02::1…)</translation>
    </message>
    <message>
        <source>Suivre le DX de WSJT-X</source>
        <translation>Follow WSJT-X&apos;s DX</translation>
    </message>
    <message>
        <source>Appliquer</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>Adresse :</source>
        <translation>Address:</translation>
    </message>
    <message>
        <source>Port :</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>Se connecter au cluster DX</source>
        <translation>Connect to the DX cluster</translation>
    </message>
    <message>
        <source>Gardé pour cette fois seulement</source>
        <translation>Kept for this session only</translation>
    </message>
    <message>
        <source>Nœud :</source>
        <translation>Node:</translation>
    </message>
    <message>
        <source>Indicatif :</source>
        <translation>Callsign:</translation>
    </message>
    <message>
        <source>Mot de passe :</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>Toutes les bandes</source>
        <translation>All bands</translation>
    </message>
    <message>
        <source>CQ seulement</source>
        <translation>CQ only</translation>
    </message>
    <message>
        <source>Heure UTC</source>
        <translation>UTC time</translation>
    </message>
    <message>
        <source>Indicatif</source>
        <translation>Callsign</translation>
    </message>
    <message>
        <source>Locator / pays</source>
        <translation>Grid / country</translation>
    </message>
    <message>
        <source>Bande</source>
        <translation>Band</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>SNR</source>
        <translation>SNR</translation>
    </message>
    <message>
        <source>Distance</source>
        <translation>Distance</translation>
    </message>
    <message>
        <source>Azimut</source>
        <translation>Azimuth</translation>
    </message>
</context>
<context>
    <name>WebMap</name>
    <message>
        <source>  Situer %1 avec %2  </source>
        <translation>  Locate %1 with %2  </translation>
    </message>
</context>
<context>
    <name>WsjtxListener</name>
    <message>
        <source>station disparue</source>
        <translation>station gone</translation>
    </message>
    <message>
        <source>station non décodée par WSJT-X</source>
        <translation>station not decoded by WSJT-X</translation>
    </message>
    <message>
        <source>WSJT-X ne répond qu&apos;à un CQ ou un QRZ</source>
        <translation>WSJT-X only answers a CQ or a QRZ</translation>
    </message>
    <message>
        <source>WSJT-X « %1 » fermé</source>
        <translation>WSJT-X “%1” closed</translation>
    </message>
    <message>
        <source>réception de WSJT-X arrêtée</source>
        <translation>WSJT-X reception stopped</translation>
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
