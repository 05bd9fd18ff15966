#pragma once

// The memory panel end to end: the whole program with its datamem.txt in a temporary application directory, the
// radio receiving what "Envoyer au VFO" sends. "datamem=" is the file's frequencies, "mkdir=" makes a directory
// beside it.

#include "memoryfile.h"
#include "panelscenario.h"
#include "testfiles.h"

class TestMemoryEditor : public PanelScenario
{
    Q_OBJECT

    const QByteArray m_file = "\"VHF\",\"145500\",\"FM\",\"Relais R0\"\r\n\"HF2\",\"7050\",\"LSB\",\"R\xe9seau\"\r\n"
                              "\"UHF\",\"430050\",\"FM\",\"\"\r\n\"vhf\",\"145600\",\"FM\",\"minuscules\"\r\n"
                              "\"VHF\",\"144300\",\"USB\",\"\"\r\n\"Sp1\",\"7050\",\"CW\",\"\"\r\n"
                              "\"HF2\",\"3560\",\"CW(N)\",\"QRP\"\r\n\"VHF\",\"balise\",\"CW\",\"\"\r\n";

    void prepare() override
    {
        const QString path = f->dirPath(u"datamem.txt"_s);
        QVERIFY(QTest::currentTestFunction() == QByteArrayView("unusableFile") ? QDir().mkdir(path)
                                                                               : testfiles::write(path, m_file));
    }
    void started() override { act(u"Lab_mem"_s); } // the memory panel unfolded
    bool special(const QString &name, const QString &value) override
    {
        return name == u"mkdir=" ? QDir(f->dirPath()).mkdir(value) : PanelScenario::special(name, value);
    }
    std::optional<QString> specialRead(const QString &target) override
    {
        QStringList frequencies;
        QString error;
        for (const MemoryEntry &entry :
            memoryfile::readAll(memoryfile::memoryPath(), &error).value_or(QList<MemoryEntry> {}))
            frequencies << entry.frequency;
        return target == u"datamem" ? frequencies.join(u',') : PanelScenario::specialRead(target);
    }

    void rows() override
    {
        const QByteArray all = "|datamem=145500,7050,430050,145600,144300,7050,3560,balise";
        auto buttons = [](const char *states) {
            const QByteArrayList on = QByteArray(states).split(' ');
            return "cmdAjouter.enabled=" + on[0] + "|Com_valid_memo.enabled=" + on[1]
                + "|Com_envoi_freq.enabled=" + on[2];
        };
        // The groups ticked list their entries in file order, their code matched exactly.
        row("VHF at start-up", "", "", "Grid=,145500,144300,balise");
        row("more groups", "CheckHF2;CheckUHF;ComEnvoiLIste", "", "Grid=,145500,7050,430050,144300,3560,balise");
        // "Envoyer au VFO", or a double-click, sends the row's frequency and mode; a mode without a button is not
        // sent, and the empty top row or a frequency that is text send nothing.
        row("7050 LSB", "CheckHF2;ComEnvoiLIste;Grid@2;Com_envoi_freq", "0070500001 0000000007", "L_mode=LSB");
        row("double-click on 144300 USB", "CheckHF2;ComEnvoiLIste;Grid@@3", "1443000001 0100000007", "L_mode=USB");
        row("CW(N)", "CheckHF2;ComEnvoiLIste;Grid@4;Com_envoi_freq", "0035600001", "L_mode=FM");
        row("text frequency", "Grid@3;Com_envoi_freq", "", "Com_envoi_freq.enabled=false");
        row("top row", "Grid@0;Com_envoi_freq", "", "Com_envoi_freq.enabled=false");
        // "Ajouter", "Mémoriser" and "Envoyer au VFO" offered as the table and the form allow.
        row("buttons at start", "", "", buttons("true false false"));
        row("a row selected", "Grid!;Grid@1", "", buttons("false false true"));
        row("the grid left", "Grid!;Grid@1;Text_choix_observ!", "", buttons("true false true"));
        row("Annuler", "cmdAjouter;Com_Anul", "", buttons("true false false"));
        row("a frequency typed, then emptied", "Text_choix_qrg<1;Text_choix_qrg=", "", buttons("true true false"));
        row("Afficher", "Grid@2;ComEnvoiLIste", "", "Com_envoi_freq.enabled=false");
        // "Ajouter" takes the VFO to the kHz, with its mode, into the form; "Mémoriser" adds it to the grid and the
        // file whatever the filter. Quotes never reach the fields, nor characters the file cannot hold.
        row("Ajouter 7.050 00 LSB", "CurrentFreq=00705000;Com_LSB;Combo1=HF3;cmdAjouter", "0000000007",
            "Text_choix_qrg=7050|Comb_mem_mode=LSB|Combo1=HF3|" + buttons("true true false"));
        row("Ajouter 145.512 50 FM, Mémoriser", "CurrentFreq=14551250;cmdAjouter;Com_valid_memo", "",
            "Grid=,145500,144300,balise,145512|Text_choix_qrg=|Com_valid_memo.enabled=false" + all + ",145512");
        row("quotes typed", "Text_choix_observ<net \"du\" soir", "", "Text_choix_observ=net du soir");
        row("characters outside Windows-1252", "Text_choix_observ=Ω \"é\"", "", "Text_choix_observ= é");
        // "Supprimer" removes the row (not the empty top one) and every entry of its frequency from the file, the row
        // chosen with the mouse or the keyboard; when the new file cannot be written, the row comes back.
        row("Supprimer on the top row", "Grid@0;Com_eff", "", "Grid=,145500,144300,balise" + all);
        row("Supprimer 7050", "CheckHF2;ComEnvoiLIste;Grid@2;Com_eff", "",
            "Grid=,145500,144300,3560,balise|datamem=145500,430050,145600,144300,3560,balise");
        row("Supprimer by the keyboard", "Grid@1;Grid+Down;Com_eff", "",
            "Grid=,145500,balise|datamem=145500,7050,430050,145600,7050,3560,balise");
        row("Supprimer, the file not writable", "mkdir=DATAqS.tmp;Grid@2;Com_eff", "",
            "Grid=,145500,144300,balise|messages=Erreur : La mémoire n'a pas pu être supprimée (un dossier porte ce "
            "nom)."
                + all);
    }

private slots:
    // A click on "Mémoriser", "Supprimer" or "Afficher" while "Afficher" reads a long file comes after the read:
    // every entry listed once, the file changed once.
    void duringAfficher()
    {
        QByteArray big;
        for (int i = 0; i < 300; ++i)
            big += "\"VHF\",\"" + QByteArray::number(144000 + i) + "\",\"FM\",\"\"\r\n";
        for (const auto &[button, rows, first, last] : {std::tuple {"Com_valid_memo", 302, 144000, 145000},
                 {"Com_eff", 300, 144001, 144299}, {"ComEnvoiLIste", 301, 144000, 144299}}) {
            QVERIFY(testfiles::write(memoryfile::memoryPath(), big));
            bool askedWhileReading = false;
            QTimer::singleShot(0, f->c().Grid, [&] { askedWhileReading = f->program().memory.isReading(); });
            act(u"Text_choix_qrg=;~Grid@1;~Text_choix_qrg=145000;~"_s + QLatin1String(button) + u";ComEnvoiLIste"_s);
            QVERIFY(askedWhileReading && !f->program().memory.isReading());
            const QStringList grid = read(u"Grid"_s).split(u','), file = read(u"datamem"_s).split(u',');
            QCOMPARE((QList<int> {int(grid.size()), grid[1].toInt(), grid.last().toInt()}),
                (QList<int> {rows, first, last}));
            QCOMPARE((QList<int> {int(file.size()), file[0].toInt(), file.last().toInt()}),
                (QList<int> {rows - 1, first, last}));
        }
    }

    // A datamem.txt that cannot be read: a message at start-up; one that cannot be written keeps the form filled.
    void unusableFile()
    {
        act(u"Text_choix_qrg=7050;Text_choix_observ=x;Com_valid_memo"_s);
        QCOMPARE(f->messages.size(), 2);
        QVERIFY(f->messages[0].text.endsWith(u" (un dossier porte ce nom)."_s));
        QCOMPARE(read(u"Grid"_s) + read(u"Text_choix_qrg"_s) + read(u"Text_choix_observ"_s), u"7050x"_s);
    }
};
