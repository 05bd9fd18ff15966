#pragma once

// The memory panel end to end: the whole program with its datamem.txt in a temporary application directory, the
// radio receiving what "Envoyer au VFO" sends.

#include "../scanner/panelscenario.h"

class TestMemoryEditor : public PanelScenario
{
    Q_OBJECT

    const QByteArray m_file = "\"VHF\",\"145500\",\"FM\",\"Relais R0\"\r\n\"HF2\",\"7050\",\"LSB\",\"R\xe9seau\"\r\n"
                              "\"UHF\",\"430050\",\"FM\",\"\"\r\n\"vhf\",\"145600\",\"FM\",\"minuscules\"\r\n"
                              "\"VHF\",\"144300\",\"USB\",\"\"\r\n\"Sp1\",\"7050\",\"CW\",\"\"\r\n"
                              "\"HF2\",\"3560\",\"CW(N)\",\"QRP\"\r\n\"VHF\",\"balise\",\"CW\",\"\"\r\n";

    QByteArray fileBytes()
    {
        QFile file(f->dirPath(u"datamem.txt"_s));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    void prepare() override
    {
        QFile file(f->dirPath(u"datamem.txt"_s));
        if (QTest::currentTestFunction() == QByteArrayView("unusableFile"))
            QVERIFY(QDir().mkdir(file.fileName()));
        else
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(m_file));
    }
    void started() override { act(u"Lab_mem"_s); } // the memory panel unfolded

    void rows() override
    {
        // The groups ticked list their entries in file order, their code matched exactly.
        row("VHF at start-up", "", "", "Grid=,145500,144300,balise");
        row("more groups", "CheckHF2;CheckUHF;ComEnvoiLIste", "", "Grid=,145500,7050,430050,144300,3560,balise");
        // "Envoyer au VFO", or a double-click, sends the row's frequency and mode; a mode without a button is not
        // sent, and the empty top row or a frequency that is text send nothing.
        row("7050 LSB", "CheckHF2;ComEnvoiLIste;Grid@2;Com_envoi_freq", "0070500001 0000000007", "L_mode=LSB");
        row("double-click on 144300 USB", "CheckHF2;ComEnvoiLIste;Grid@@3", "1443000001 0100000007", "L_mode=USB");
        row("CW(N)", "CheckHF2;ComEnvoiLIste;Grid@4;Com_envoi_freq", "0035600001", "L_mode=FM");
        row("text frequency", "CheckHF2;ComEnvoiLIste;Grid@5;Com_envoi_freq", "", "Com_envoi_freq.enabled=false");
        row("top row", "Grid@0;Com_envoi_freq", "", "Com_envoi_freq.enabled=false");
        // "Ajouter", "Mémoriser" and "Envoyer au VFO" offered as the table and the form allow.
        auto buttons = [](const char *states) {
            const QByteArrayList on = QByteArray(states).split(' ');
            return "cmdAjouter.enabled=" + on[0] + "|Com_valid_memo.enabled=" + on[1]
                + "|Com_envoi_freq.enabled=" + on[2];
        };
        row("buttons at start", "", "", buttons("true false false"));
        row("a row selected", "Grid!;Grid@1", "", buttons("false false true"));
        row("the grid left", "Grid!;Grid@1;Text_choix_observ!", "", buttons("true false true"));
        row("Ajouter", "Grid!;Grid@1;Text_choix_observ!;cmdAjouter", "", buttons("true true false"));
        row("Annuler", "cmdAjouter;Com_Anul", "", buttons("true false false"));
        row("a frequency typed, then emptied", "Text_choix_qrg<1;Text_choix_qrg=", "", buttons("true true false"));
        row("Afficher", "Grid@2;ComEnvoiLIste", "", "Com_envoi_freq.enabled=false");
        // "Ajouter" takes the VFO to the kHz, with its mode, into the form.
        row("Ajouter 7.050 00 LSB", "CurrentFreq=00705000;Com_LSB;Combo1=HF3;cmdAjouter", "0000000007",
            "Text_choix_qrg=7050|Comb_mem_mode=LSB|Combo1=HF3");
        row("Ajouter 145.512 50 FM", "CurrentFreq=14551250;cmdAjouter", "", "Text_choix_qrg=145512|Comb_mem_mode=FM");
    }

private slots:
    // "Mémoriser" appends to the grid and the file whatever the filter; quotes never reach the fields, nor
    // characters the file cannot hold.
    void memoriser()
    {
        act(u"Combo1=HF4;Comb_mem_mode=LSB;Text_choix_qrg<3650;Text_choix_observ<net \"du\" soir, ;Com_valid_memo"_s);
        QCOMPARE(read(u"Grid"_s), u",145500,144300,balise,3650"_s);
        QCOMPARE(fileBytes(), m_file + "\"HF4\",\"3650\",\"LSB\",\"net du soir, \"\r\n");
        QVERIFY(f->c().Text_choix_qrg->text().isEmpty() && !f->c().Com_valid_memo->isEnabled());
        f->c().Text_choix_observ->setText(u"Ω \"é\""_s);
        QCOMPARE(f->c().Text_choix_observ->text(), u" é"_s);
    }

    // "Supprimer" removes the row (the empty top row stays) and every entry of its frequency from the file, the row
    // chosen with the mouse or the keyboard; when the new file cannot be written, the row comes back, the file as
    // it was.
    void supprimer()
    {
        act(u"CheckHF2;CheckSpec1;ComEnvoiLIste;Grid@0;Com_eff"_s);
        QCOMPARE(fileBytes(), m_file);
        act(u"Grid@2;Com_eff"_s);
        QCOMPARE(read(u"Grid"_s), u",145500,144300,7050,3560,balise"_s);
        QVERIFY(!fileBytes().contains("\"7050\""));
        act(u"Grid@1"_s);
        QTest::keyClick(f->c().Grid, Qt::Key_Down);
        act(u"Com_eff"_s);
        QCOMPARE(read(u"Grid"_s), u",145500,7050,3560,balise"_s);
        QVERIFY(!fileBytes().contains("\"144300\"") && fileBytes().contains("\"145500\""));
        const QByteArray before = fileBytes();
        QVERIFY(QDir(f->dirPath()).mkdir(u"DATAqS.tmp"_s));
        act(u"Grid@2;Com_eff"_s);
        QCOMPARE(read(u"Grid"_s), u",145500,7050,3560,balise"_s);
        QCOMPARE(f->c().Grid->rowSel(), 2);
        QCOMPARE(fileBytes(), before);
        QCOMPARE(f->messages.size(), 1);
    }

    // A click on "Mémoriser", "Supprimer" or "Afficher" while "Afficher" reads a long file comes after the read:
    // every entry listed once, the file changed once.
    void operationDuringAfficher_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("firstLast");
        QTest::addColumn<int>("rows");
        QTest::newRow("Mémoriser") << u"Com_valid_memo"_s << u"144000 145000"_s << 302;
        QTest::newRow("Supprimer") << u"Com_eff"_s << u"144001 144299"_s << 300;
        QTest::newRow("Afficher") << u"ComEnvoiLIste"_s << u"144000 144299"_s << 301;
    }
    void operationDuringAfficher()
    {
        QFETCH(QString, button);
        QFETCH(int, rows);
        QByteArray file;
        for (int i = 0; i < 300; ++i)
            file += "\"VHF\",\"" + QByteArray::number(144000 + i) + "\",\"FM\",\"\"\r\n";
        QFile out(f->dirPath(u"datamem.txt"_s));
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(file) && out.flush());
        f->c().Text_choix_qrg->setText(u"145000"_s);
        bool askedWhileReading = false;
        QTimer::singleShot(0, f->c().Grid, [&] {
            askedWhileReading = f->program().memory.isReading();
            f->c().Grid->refresh(); // the first entry is on screen: the operator may select it
            f->c().Grid->selectRow(1);
            act(button);
        });
        act(u"ComEnvoiLIste"_s);
        QVERIFY(askedWhileReading && !f->program().memory.isReading());
        const QStringList frequencies = read(u"Grid"_s).split(u',');
        QCOMPARE(frequencies.size(), rows);
        QTEST(frequencies.value(1) + u' ' + frequencies.last(), "firstLast");
        QCOMPARE(fileBytes(),
            button == u"Com_valid_memo" ? file + "\"VHF\",\"145000\",\"FM\",\"\"\r\n"
                : button == u"Com_eff"  ? file.mid(file.indexOf('\n') + 1)
                                        : file);
    }

    // A datamem.txt that cannot be read: a message at start-up; one that cannot be written keeps the form filled.
    void unusableFile()
    {
        QVERIFY2(read(u"messages"_s).endsWith(u" (un dossier porte ce nom)."_s), qPrintable(read(u"messages"_s)));
        act(u"Text_choix_qrg=7050;Text_choix_observ=x;Com_valid_memo"_s);
        QCOMPARE(f->messages.size(), 2);
        QCOMPARE(read(u"Grid"_s), QString());
        QCOMPARE(read(u"Text_choix_qrg"_s) + read(u"Text_choix_observ"_s), u"7050x"_s);
    }
};
