<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr" sourcelanguage="fr">
<context>
    <name>CityCheck</name>
    <message numerus="yes">
        <source>%n&#xa0;ville(s)</source>
        <translation>
            <numerusform>%n&#xa0;ville</numerusform>
            <numerusform>%n&#xa0;villes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n&#xa0;champ(s)</source>
        <translation>
            <numerusform>%n&#xa0;champ</numerusform>
            <numerusform>%n&#xa0;champs</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n&#xa0;morceau(s)</source>
        <translation>
            <numerusform>%n&#xa0;morceau</numerusform>
            <numerusform>%n&#xa0;morceaux</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n&#xa0;coordonnée(s)</source>
        <translation>
            <numerusform>%n&#xa0;coordonnée</numerusform>
            <numerusform>%n&#xa0;coordonnées</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n&#xa0;autre(s)</source>
        <translation>
            <numerusform>%n&#xa0;autre</numerusform>
            <numerusform>%n&#xa0;autres</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n&#xa0;nom(s)</source>
        <translation>
            <numerusform>%n&#xa0;nom</numerusform>
            <numerusform>%n&#xa0;noms</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n&#xa0;ligne(s)</source>
        <translation>
            <numerusform>%n&#xa0;ligne</numerusform>
            <numerusform>%n&#xa0;lignes</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CountryFile</name>
    <message numerus="yes">
        <source>%n élément(s) illisible(s) ignoré(s) (ligne(s) %1).</source>
        <translation>
            <numerusform>%n élément illisible ignoré (ligne %1).</numerusform>
            <numerusform>%n éléments illisibles ignorés (lignes %1).</numerusform>
        </translation>
    </message>
</context>
</TS>
