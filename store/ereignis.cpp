#include "store/ereignis.h"

namespace velmaro {

const char* EreignisText(Ereignisart art) {
    switch (art) {
    case Ereignisart::Bereit:
        return "Wählen Sie einen Funktion aus dem Artikel Menu.\nSie können einen neuen Artikel anlegen "
               "oder\neinen Artikel zum Bearbeiten öffnen.";
    case Ereignisart::NeuerArtikel:
        return "Sie können jetzt alle Eingaben für einen neuen Artikel eingeben:\n -Datum auswählen, "
               "-Überschrift eingeben -Textinhalt eingeben -Artikel speichern";
    case Ereignisart::SeitenErstellt:
        return "Menu und Dateien wurden erstellt!";
    case Ereignisart::ArtikelGespeichert:
        return "Artikel wurde gespeichert!";
    case Ereignisart::ArtikelEditiert:
        return "Artikel wurde editiert und kann jetzt gelöscht oder geändert werden!";
    case Ereignisart::ArtikelGeloescht:
        return "Artikel wurde gelöscht!";
    case Ereignisart::Verbindungsaufbau:
        return "Verbindung zum Server wird hergestellt!";
    case Ereignisart::Uebertragung:
        return "Daten werden übertragen!";
    case Ereignisart::Uebertragen:
        return "Daten wurden erfolgreich übertragen!\nDie Website kann nun zur Kontrolle betrachtet werden";
    case Ereignisart::NichtUebertragen:
        return "Daten konnten nicht übertragen werden!\nÜberprüfen Sie Ihre Internetverbindung";
    case Ereignisart::TeilweiseUebertragen:
        return "Nicht alle Dateien wurden übertragen!\nDie Meldung nennt die fehlenden Dateien; die übrigen "
               "sind auf dem Server";
    case Ereignisart::ServerAbweisend:
        return "Daten konnten nicht übertragen werden!\nDer Server nimmt zurzeit keine Verbindung an";
    case Ereignisart::VerschluesselungAbgelehnt:
        return "Daten konnten nicht übertragen werden!\nDer Server lehnt die Verschlüsselung der Dateien ab";
    case Ereignisart::NichtVertraut:
        return "Daten konnten nicht übertragen werden!\nDem Server wurde nicht vertraut; es wurde nichts gesendet";
    case Ereignisart::KeineAdresse:
        return "Daten konnten nicht übertragen werden!\nEs ist keine FTP-Adresse eingetragen";
    }
    return "";
}

} // namespace velmaro
