#include "mainwindow/Hauptbefehle.h"

#include "core/Funktionen.h"

std::vector<qint32> AuswahlEinträge(const ListenZustand& z, const Index& index)
{
    std::vector<qint32> einträge;
    const qint32 n = std::min<qint32>(z.lngAuswahlAnzahl, qint32(z.lngAuswahlEintrag.size()) - 1);
    for (qint32 k = 1; k <= n; ++k)
        if (index.GültigerEintrag(z.lngAuswahlEintrag[size_t(k)]))
            einträge.push_back(z.lngAuswahlEintrag[size_t(k)]);
    return einträge;
}

QList<QUrl> DateiUrls(const Index& index, const std::vector<qint32>& einträge)
{
    QList<QUrl> urls;
    urls.reserve(qsizetype(einträge.size()));
    for (const qint32 e : einträge)
        if (index.GültigerEintrag(e))
            urls << QUrl::fromLocalFile(index.strIndexPfad[size_t(e)]);
    return urls;
}

QString SpielerTitelSuchtext(const QString& titel)
{
    return TextErsetzen(titel, QStringLiteral(" - "), QStringLiteral(" "));
}
