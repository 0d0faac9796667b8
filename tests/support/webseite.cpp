#include "webseite.h"

#include <QByteArray>

#include <chrono>
#include <csignal>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace velmaro::test {

namespace fs = std::filesystem;

namespace {

// Reads the first headline's style, every link, the size of every picture as loaded ("0x0" when it
// did not load) and the text of each page of sonde.js (the list
// seiten) into one <pre>, a line each, percent-encoded.
constexpr const char* kSonde = R"(<html><body><pre id=ergebnis></pre><script src=sonde.js></script><script>
var zeilen = [];
seiten.forEach(function (url, i) {
  var f = document.createElement('iframe');
  f.onload = function () {
    var d = f.contentDocument, t = d.querySelector('.over_text');
    if (t) zeilen.push(i + ' stil ' + getComputedStyle(t).color + ' ' + getComputedStyle(t).fontSize);
    d.querySelectorAll('a[href], link[href]').forEach(function (a) { zeilen.push(i + ' link ' + a.href); });
    d.querySelectorAll('img').forEach(function (b) { zeilen.push(i + ' bild ' + b.naturalWidth + 'x' + b.naturalHeight); });
    zeilen.push(i + ' text ' + d.body.innerText.replace(/\s+/g, ' '));
    document.getElementById('ergebnis').textContent = zeilen.map(encodeURIComponent).join('\n');
  };
  f.src = url;
  document.body.appendChild(f);
});
</script></body></html>)";

} // namespace

std::vector<Seite> Chromium::laden(const std::vector<std::string>& urls, const fs::path& neben,
                                   const std::string& nebenUrl) {
    writeFile(neben / "sonde.html", kSonde);
    std::string liste = "var seiten = [";
    for (const std::string& url : urls)
        liste += "'" + url + "',";
    writeFile(neben / "sonde.js", liste + "];");
    // --no-sandbox: the tests run as root on CI. A profile of its own lets tests run side by side.
    const std::string dom =
        Ausfuehren(
            "timeout 120 chromium --headless --no-sandbox --disable-gpu --allow-file-access-from-files "
            "--user-data-dir='" +
            m_profil.path().string() + "' --dump-dom '" + nebenUrl + "sonde.html' 2>/dev/null </dev/null")
            .second;
    const std::size_t anfang = dom.find("<pre id=\"ergebnis\">"), ende = dom.find("</pre>");
    std::vector<Seite> seiten(urls.size());
    std::istringstream zeilen(dom.substr(anfang + 19, ende - anfang - 19));
    for (std::string zeile; std::getline(zeilen, zeile);) {
        std::istringstream felder(
            QByteArray::fromPercentEncoding(QByteArray::fromStdString(zeile)).toStdString());
        std::size_t i = seiten.size();
        std::string art, wert;
        if (!(felder >> i >> art) || i >= seiten.size() || !std::getline(felder >> std::ws, wert))
            continue;
        (art == "stil"   ? seiten[i].ueberschriftStil
         : art == "text" ? seiten[i].text
         : art == "bild" ? seiten[i].bilder.emplace_back()
                         : seiten[i].links.emplace_back()) = wert;
    }
    return seiten;
}

PhpServer::PhpServer(const fs::path& wurzel) {
    const fs::path log = m_log / "php.log";
    m_aus =
        popen(("echo $$; exec php -S 127.0.0.1:0 -t '" + wurzel.string() + "' >'" + log.string() + "' 2>&1")
                  .c_str(),
              "r");
    if (std::fscanf(m_aus, "%d", &m_pid) != 1)
        throw std::runtime_error("php -S did not start");
    // The server names its port in its first line.
    for (int versuch = 0; versuch < 200 && m_port == 0; ++versuch) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const std::string text = fs::exists(log) ? readFile(log) : "";
        const std::size_t p = text.find("(http://127.0.0.1:");
        if (p != std::string::npos)
            m_port = std::atoi(text.c_str() + p + 18);
    }
}

PhpServer::~PhpServer() {
    kill(m_pid, SIGKILL);
    pclose(m_aus);
}

} // namespace velmaro::test
