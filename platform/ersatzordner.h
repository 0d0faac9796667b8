#pragma once
// A folder replaced as a whole: a run writes its files into a spare folder beside it, which is then
// exchanged with it in one step. Until that step, after any failure and after a crash, the folder
// holds all of its previous content and nothing of the new. The spare keeps the previous content
// afterwards, and the next run writes over it, so a run costs about what writing its files costs.

#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace velmaro {

class ErsatzOrdner;

// One file being written into the spare folder.
class ErsatzDatei {
public:
    ErsatzDatei() = default;
    ErsatzDatei(ErsatzDatei&& andere) noexcept;
    ErsatzDatei& operator=(ErsatzDatei&& andere) noexcept;
    ~ErsatzDatei();
    bool offen() const { return m_fd >= 0; }
    // False once this file or any other of the run failed.
    bool schreiben(std::string_view bytes);
    bool schliessen();

private:
    friend class ErsatzOrdner;
    ErsatzOrdner* m_ordner = nullptr;
    int m_fd = -1;
    std::string m_name;
};

class ErsatzOrdner {
public:
    // A symbolic link at the folder's name: Folgen replaces the folder it names and keeps the link
    // (output/ may live elsewhere); Ablehnen fails the run.
    enum Verweis { Folgen, Ablehnen };
    ErsatzOrdner(std::filesystem::path ordner, Verweis verweis);
    ~ErsatzOrdner();
    ErsatzOrdner(const ErsatzOrdner&) = delete;
    ErsatzOrdner& operator=(const ErsatzOrdner&) = delete;

    // name may lead through subfolders ("bilder/a.jpg"), which are made as needed. After the first
    // failure of the run nothing more is written, but every name is still noted.
    ErsatzDatei anlegen(const std::string& name);
    bool schreiben(const std::string& name, std::string_view bytes);
    // Takes the file of this name from the previous content unchanged, without copying its bytes (a
    // picture converted in an earlier run). False when there is none; nothing is noted then.
    bool uebernehmen(const std::string& name);

    // Removes from the spare whatever this run did not write, then puts it in the folder's place.
    // False, with the folder unchanged, when anything of the run failed, and when the folder holds
    // a folder of someone else's: whatever the folder holds is removed one run later, so a folder
    // this class did not make is replaced only when it holds no folder this run does not write
    // (an output link pointing at a home or working folder by mistake must not empty it). The
    // folders it made are noted beside them, in .<name>.velmaro.
    bool tauschen();

    // Every name asked for in this run, in order.
    const std::vector<std::string>& namen() const { return m_namen; }
    // Why the run failed, in German, with the file concerned; empty while nothing failed.
    const std::string& fehlerText() const { return m_fehlerText; }
    // The folder whose content is replaced (the link's target for a link), which holds the
    // previous content until tauschen(); and where this run's files go.
    const std::filesystem::path& bisher() const { return m_ziel; }
    std::filesystem::path ersatz() const { return m_ziel.parent_path() / m_ersatzName; }

private:
    friend class ErsatzDatei;
    void fehler(const std::string& name, int err);
    void vorbereiten(Verweis verweis);
    bool fremd();
    // The folder in the spare that holds name, made when missing, and name's last part in kurz.
    int ordnerFuer(const std::string& name, const char*& kurz);
    int unterordner(const std::string& pfad);
    void entfernen(int ordnerFd, const char* kurz, const std::string& name);
    bool ausraeumen(const std::filesystem::path& ordner, const std::string& vorsatz);

    std::filesystem::path m_ordner;
    std::filesystem::path m_ziel;
    std::string m_ersatzName;
    int m_elternFd = -1;
    int m_ersatzFd = -1;
    bool m_zielFehlt = false;
    bool m_eigen = false;
    std::string m_markeName;
    std::string m_kennungen; // of the spare and of the folder, as the mark notes them
    std::vector<std::pair<std::string, int>> m_unterordner;
    std::vector<std::string> m_namen;
    std::unordered_set<std::string> m_geschrieben;
    std::string m_fehlerText;
};

} // namespace velmaro
