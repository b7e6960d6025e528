<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="cs_CZ" sourcelanguage="de_DE">
<context>
    <name>Programmtexte</name>
    <message id="64912">
        <source>Das Primärschlüsselfeld Ihrer Zieldatenbank ist vom Typ &quot;%s&quot;&#13;
Bitte geben Sie den Startwert folgendermaßen ein: TT.MM.JJJJ HH:MM:SS</source>
        <translation>Pole primárního klíče vaší cílové databáze je typu &quot;%s&quot;&#13;
Zadejte prosím počáteční hodnotu takto: DD.MM.RRRR HH:MM:SS</translation>
    </message>
    <message id="64913">
        <source>Die automatische Werterhöhung eines Datenbankfeldes vom Typ &quot;%s&quot; ist leider nicht möglich.</source>
        <translation>Automatické zvyšování hodnoty databázového pole typu &quot;%s&quot; bohužel není možné.</translation>
    </message>
    <message id="64914">
        <source>Bitte geben Sie zuerst einen Namen ein, unter dem Sie&#13;
die erstellte Importeinstellung speichern möchten</source>
        <translation>Zadejte prosím nejprve název, pod kterým chcete&#13;
vytvořené nastavení importu uložit</translation>
    </message>
    <message id="64915">
        <source>Möchten Sie, daß die Bemerkung zu Ihrer Importeinstellung wieder gelöscht wird</source>
        <translation>Chcete, aby byla poznámka k vašemu nastavení importu smazána</translation>
    </message>
    <message id="64916">
        <source>Bitte wählen Sie, ob die Länge der zu importierenden&#13;
Zeichenketten fest oder variabel sein soll.&#13;
&#13;
Hinweis:&#13;
Wählen Sie &quot;Variable Datensatzlänge&quot;, wenn die&#13;
Zeichenketten durch ein bestimmtes Zeichen,&#13;
(Semikolon, Komma...) getrennt werden sollen.</source>
        <translation>Zvolte prosím, zda má být délka importovaných&#13;
řetězců pevná nebo proměnná.&#13;
&#13;
Upozornění:&#13;
Zvolte &quot;Proměnná délka záznamu&quot;, pokud mají být&#13;
řetězce odděleny určitým znakem&#13;
(středník, čárka...).</translation>
    </message>
    <message id="64917">
        <source>Bitte geben Sie eine Spaltenbezeichnung ein.</source>
        <translation>Zadejte prosím název sloupce.</translation>
    </message>
    <message id="64918">
        <source>Feldnamen dürfen nicht mit einem Leerzeichen beginnen</source>
        <translation>Názvy polí nesmějí začínat mezerou</translation>
    </message>
    <message id="64919">
        <source>Die Spaltenbezeichnung &quot;%s&quot; wurde bereits für die Spalte %s vergeben.</source>
        <translation>Název sloupce &quot;%s&quot; už byl přidělen sloupci %s.</translation>
    </message>
    <message id="64920">
        <source>Artikel-Datei von Ferolin</source>
        <translation>Soubor zboží Ferolin</translation>
    </message>
    <message id="64921">
        <source>Kunden-Datei von Ferolin</source>
        <translation>Soubor zákazníků Ferolin</translation>
    </message>
    <message id="64922">
        <source>Adress-Datei von Velmora-Wendamo</source>
        <translation>Soubor adres Velmora-Wendamo</translation>
    </message>
    <message id="64923">
        <source>Möchten Sie wirklich zurück gehen und eine andere Quell- oder Zieldatei auswählen?&#13;
&#13;
Alle noch nicht gespeicherten Änderungen der Importeinstellungen gehen dabei verloren!</source>
        <translation>Opravdu se chcete vrátit a vybrat jiný zdrojový nebo cílový soubor?&#13;
&#13;
Všechny dosud neuložené změny nastavení importu budou ztraceny!</translation>
    </message>
    <message id="64924">
        <source>In der Tabelle %s sind keine Datensätze vorhanden!</source>
        <translation>V tabulce %s nejsou žádné záznamy!</translation>
    </message>
    <message id="64925">
        <source>Welche Tabelle aus &quot;%s&quot; soll importiert werden?</source>
        <translation>Která tabulka z &quot;%s&quot; se má importovat?</translation>
    </message>
    <message id="64928">
        <source>Die Importeinstellung &quot;%s&quot; ist gespeichert worden.</source>
        <translation>Nastavení importu &quot;%s&quot; bylo uloženo.</translation>
    </message>
    <message id="64929">
        <source>Die Importeinstellung &quot;%s&quot; konnte nicht gespeichert werden.</source>
        <translation>Nastavení importu &quot;%s&quot; nebylo možné uložit.</translation>
    </message>
    <message id="64930">
        <source>Beim Umbenennen vorhandener Schlüsselwerte sind Fehler&#13;
aufgetreten. Bitte wählen Sie einen anderen Startwert.</source>
        <translation>Při přejmenování existujících hodnot klíče došlo k chybám.&#13;
Zvolte prosím jinou počáteční hodnotu.</translation>
    </message>
    <message id="64932">
        <source>Es sind keine Zuordnungen zwischen Quell- und&#13;
Zieldatenbank eingetragen.&#13;
&#13;
Sie können diese jetzt vornehmen</source>
        <translation>Nejsou zadána žádná přiřazení mezi zdrojovou&#13;
a cílovou databází.&#13;
&#13;
Nyní je můžete provést</translation>
    </message>
    <message id="64933">
        <source>Den folgenden Feldern müssen Sie einen Wert zuweisen, bitte zuordnen: </source>
        <translation>Následujícím polím musíte přiřadit hodnotu, přiřaďte prosím: </translation>
    </message>
    <message id="64934">
        <source>Bitte geben Sie noch an, ob die einzulesenden Datensätze&#13;
&#13;
an das Ende der Zieldatei angehängt werden sollen,&#13;
oder&#13;
ob Sie die Zieldatei aktualisieren möchten!</source>
        <translation>Uveďte prosím ještě, zda mají být načítané záznamy&#13;
&#13;
připojeny na konec cílového souboru,&#13;
nebo&#13;
zda chcete cílový soubor aktualizovat!</translation>
    </message>
    <message id="64935">
        <source>Sie haben die Importlaufoption &quot;Datensätze am Ende anhängen&quot; gewählt.&#13;
&#13;
Bitte geben Sie noch an, ob in der Zieltabelle die Schlüsselwerte&#13;
vorhandener Datensätze umbenannt werden sollen,&#13;
oder&#13;
ob nur die Datensätze, die noch nicht in der Zieltabelle&#13;
enthalten sind hinzugefügt werden sollen.</source>
        <translation>Zvolili jste možnost importu &quot;Připojit záznamy na konec&quot;.&#13;
&#13;
Uveďte prosím ještě, zda se mají v cílové tabulce hodnoty klíče&#13;
existujících záznamů přejmenovat,&#13;
nebo&#13;
zda se mají přidat jen záznamy, které v cílové tabulce&#13;
ještě nejsou.</translation>
    </message>
    <message id="64936">
        <source>Bitte geben Sie einen Startwert ein, ab dem das Primär-&#13;
schlüsselfeld hochgezählt werden kann.</source>
        <translation>Zadejte prosím počáteční hodnotu, od které se budou hodnoty pole&#13;
primárního klíče zvyšovat.</translation>
    </message>
    <message id="64937">
        <source>Beim %s der Schlüsselwerte würde die Länge&#13;
des Primärschlüsselfeldes überschritten.&#13;
&#13;
Bitte wählen Sie einen anderen Startwert, oder ändern&#13;
Sie die Größendefinition Ihres Primärschlüsselfeldes.</source>
        <translation>Při operaci %s hodnot klíče by byla překročena délka&#13;
pole primárního klíče.&#13;
&#13;
Zvolte prosím jinou počáteční hodnotu nebo změňte&#13;
definici velikosti pole primárního klíče.</translation>
    </message>
    <message id="64938">
        <source>Sie haben einen Startwert eingegeben, der keine Zahlen enthält.&#13;
&#13;
Möchten Sie, das die Schlüsselwerte vorhandener Datensätze&#13;
folgendermaßen hochgezählt werden:</source>
        <translation>Zadali jste počáteční hodnotu, která neobsahuje žádné číslice.&#13;
&#13;
Chcete, aby se hodnoty klíče existujících záznamů&#13;
zvyšovaly takto:</translation>
    </message>
    <message id="64939">
        <source>Beim Hochzählen der Schlüsselwerte würde ein&#13;
neu gesetzter Wert einen Indexfehler auslösen.</source>
        <translation>Při zvyšování hodnot klíče by nově nastavená&#13;
hodnota způsobila chybu indexu.</translation>
    </message>
    <message id="64941">
        <source>Der Startwert liegt nicht im Wertebereich des&#13;
Tabellenfeldes.&#13;
&#13;
Bitte wählen Sie einen anderen Startwert, oder&#13;
ändern Sie die Felddefinition Ihres Primärschlüssel-&#13;
feldes. (z.B. in Longinteger)</source>
        <translation>Počáteční hodnota leží mimo rozsah hodnot&#13;
pole tabulky.&#13;
&#13;
Zvolte prosím jinou počáteční hodnotu nebo&#13;
změňte definici pole primárního&#13;
klíče. (např. na dlouhé celé číslo)</translation>
    </message>
    <message id="64942">
        <source>Beim %s der Schlüsselwerte würde der&#13;
Wertebereich des Primärschlüsselfeldes überschritten.&#13;
&#13;
Bitte wählen Sie einen anderen Startwert, oder&#13;
ändern Sie die Felddefinition Ihres Primärschlüssel-&#13;
feldes. (z.B. in Longinteger)</source>
        <translation>Při operaci %s hodnot klíče by byl překročen&#13;
rozsah hodnot pole primárního klíče.&#13;
&#13;
Zvolte prosím jinou počáteční hodnotu nebo&#13;
změňte definici pole primárního&#13;
klíče. (např. na dlouhé celé číslo)</translation>
    </message>
    <message id="64943">
        <source>Die automatische Werterhöhung eines Datenbankfeldes vom Typ&#13;
&quot;%s&quot;&#13;
ist derzeit leider nicht möglich.</source>
        <translation>Automatické zvyšování hodnoty databázového pole typu&#13;
&quot;%s&quot;&#13;
není v současné době bohužel možné.</translation>
    </message>
    <message id="64944">
        <source>Möchten Sie die Anwendung wirklich beenden?</source>
        <translation>Opravdu chcete aplikaci ukončit?</translation>
    </message>
    <message id="64945">
        <source>Die Struktur der Zieldatenbank ist verändert worden.&#13;
Die Datenbank wird neu eingelesen.&#13;
&#13;
Gespeicherte Zuordnungen können verloren gehen.</source>
        <translation>Struktura cílové databáze byla změněna.&#13;
Databáze bude znovu načtena.&#13;
&#13;
Uložená přiřazení mohou být ztracena.</translation>
    </message>
    <message id="64946">
        <source>Bitte wählen Sie erst eine vorhandene Importeinstellung aus&#13;
oder wählen &quot;Neue Importeinstellungen erstellen&quot;.</source>
        <translation>Vyberte prosím nejprve existující nastavení importu&#13;
nebo zvolte &quot;Vytvořit nové nastavení importu&quot;.</translation>
    </message>
    <message id="64947">
        <source>Bitte verwenden Sie die Option&#13;
&quot;Vorhandene Einstellungen ändern&quot;,&#13;
um Feldzuordnungen zu kontrollieren.</source>
        <translation>Použijte prosím volbu&#13;
&quot;Změnit existující nastavení&quot;&#13;
ke kontrole přiřazení polí.</translation>
    </message>
    <message id="64948">
        <source>Die von Ihnen gewählte Quelldatenbank ist leer.&#13;
Bitte wählen Sie eine andere Quelldatenbank.</source>
        <translation>Vybraná zdrojová databáze je prázdná.&#13;
Vyberte prosím jinou zdrojovou databázi.</translation>
    </message>
    <message id="64949">
        <source>Die Ansicht einer Access-Datei ist hier noch nicht möglich,&#13;
bitte wählen Sie auf der nächsten Seite &quot;Inhalt ansehen&quot;!</source>
        <translation>Soubor Access zde zatím nelze zobrazit,&#13;
zvolte prosím na další stránce &quot;Zobrazit obsah&quot;!</translation>
    </message>
    <message id="64950">
        <source>Auf diese Datenbank konnte nicht zugegriffen werden.</source>
        <translation>K této databázi nebylo možné přistoupit.</translation>
    </message>
    <message id="64951">
        <source>Die Datenbank konnte nicht geöffnet werden.</source>
        <translation>Databázi nebylo možné otevřít.</translation>
    </message>
    <message id="64952">
        <source>Bitte erst eine Tabelle wählen!</source>
        <translation>Vyberte prosím nejprve tabulku!</translation>
    </message>
    <message id="64953">
        <source>Fehler AutoZuordnung(): tblQuelle nicht aktiv</source>
        <translation>Chyba AutoZuordnung(): tblQuelle není aktivní</translation>
    </message>
    <message id="64954">
        <source>Strukturen der Quell- und Zieldatenbank wurden gelesen.&#13;
Automatische Zuordnung läuft...</source>
        <translation>Struktury zdrojové a cílové databáze byly načteny.&#13;
Probíhá automatické přiřazení...</translation>
    </message>
    <message id="64955">
        <source>In diesem Fall ist eine Zuordnung auf ein Primärschlüsselfeld der&#13;
Zieldatenbank, mit dem Typ &quot;Zähler&quot; nicht möglich.&#13;
Wenn Sie diesem Feld dennoch Werte aus anderen Tabellen zuweisen möchten, müssen Sie den Typ des Feldes ändern.</source>
        <translation>V tomto případě není přiřazení k poli primárního klíče&#13;
cílové databáze typu &quot;Čítač&quot; možné.&#13;
Pokud chcete tomuto poli přesto přiřadit hodnoty z jiných tabulek, musíte změnit typ pole.</translation>
    </message>
    <message id="64956">
        <source>Dieses Feld der Zieltabelle ist vom Typ &quot;Zähler&quot;. Der&#13;
Wert dieses Feldes wird automatisch erhöht und kann&#13;
vom Anwender nicht beeinflußt werden.&#13;
&#13;
Wenn Sie diesem Feld dennoch Werte aus anderen&#13;
Tabellen zuweisen möchten, müssen Sie den Typ&#13;
des Feldes ändern.</source>
        <translation>Toto pole cílové tabulky je typu &quot;Čítač&quot;. Hodnota&#13;
tohoto pole se zvyšuje automaticky a uživatel&#13;
ji nemůže ovlivnit.&#13;
&#13;
Pokud chcete tomuto poli přesto přiřadit hodnoty&#13;
z jiných tabulek, musíte změnit typ&#13;
pole.</translation>
    </message>
    <message id="64957">
        <source>Die Länge des Feldes der Zieltabelle ist kleiner, als&#13;
die Länge des zugeordneten Feldes der Quelltabelle.&#13;
&#13;
Dies kann dazu führen, daß Datensätze nicht importiert werden.</source>
        <translation>Délka pole cílové tabulky je menší než&#13;
délka přiřazeného pole zdrojové tabulky.&#13;
&#13;
To může vést k tomu, že záznamy nebudou importovány.</translation>
    </message>
    <message id="64958">
        <source>Das Feld der Quelltabelle &quot;%s&quot;&#13;
beinhaltet doppelte oder leere Werte.&#13;
&#13;
Eine Zuordnung auf das Primärschlüsselfeld der&#13;
Zieltabelle ist daher nicht möglich.&#13;
&#13;
Verwenden Sie ein Quellfeld mit eindeutigen Inhalten,&#13;
oder lassen Sie das Schlüsselfeld durch das Programm&#13;
ab einem von Ihnen gewählten Wert hochzählen.</source>
        <translation>Pole zdrojové tabulky &quot;%s&quot;&#13;
obsahuje duplicitní nebo prázdné hodnoty.&#13;
&#13;
Přiřazení k poli primárního klíče&#13;
cílové tabulky proto není možné.&#13;
&#13;
Použijte zdrojové pole s jedinečným obsahem,&#13;
nebo nechte program zvyšovat hodnoty pole klíče&#13;
od vámi zvolené hodnoty.</translation>
    </message>
    <message id="64959">
        <source>Möchten Sie die vorgenommenen Importeinstellungen speichern?</source>
        <translation>Chcete uložit provedená nastavení importu?</translation>
    </message>
    <message id="64960">
        <source>Funktion SearchSeparators() verursachte einen Fehler</source>
        <translation>Funkce SearchSeparators() způsobila chybu</translation>
    </message>
    <message id="64961">
        <source>Die folgende Zeile verursachte einen Fehler:&#13;
&#13;
%s&#13;
&#13;
Prüfen Sie, ob die Zeile so aufgebaut ist, wie dies in der ersten Zeile der Datei festgelegt wurde.</source>
        <translation>Následující řádek způsobil chybu:&#13;
&#13;
%s&#13;
&#13;
Zkontrolujte, zda je řádek sestaven tak, jak určuje první řádek souboru.</translation>
    </message>
    <message id="64962">
        <source>Die folgende Textzeile ist fehlerhaft:&#13;
&#13;
%s&#13;
&#13;
Soll die Zeile ignoriert werden?&#13;
&#13;
(Ja= Zeile ignorieren&#13;
 Nein= Zeile einlesen&#13;
 Abbruch= Import abbrechen/restliche Zeilen ignorieren&#13;
 alle ja= alle fehlerhaften Zeilen ignorieren</source>
        <translation>Následující textový řádek je chybný:&#13;
&#13;
%s&#13;
&#13;
Má být řádek ignorován?&#13;
&#13;
(Ano= ignorovat řádek&#13;
 Ne= načíst řádek&#13;
 Storno= přerušit import/ignorovat zbývající řádky&#13;
 Ano všem= ignorovat všechny chybné řádky</translation>
    </message>
    <message id="64963">
        <source>Es wurde keine Quelldatei gespeichert</source>
        <translation>Nebyl uložen žádný zdrojový soubor</translation>
    </message>
    <message id="64964">
        <source>Es wurde keine Zieldatei gespeichert</source>
        <translation>Nebyl uložen žádný cílový soubor</translation>
    </message>
    <message id="64965">
        <source>, oder Pfad- bzw. Dateinamen sind geändert worden.</source>
        <translation>, nebo byly změněny cesty či názvy souborů.</translation>
    </message>
    <message id="64966">
        <source>Bitte geben Sie den Verzeichnispfad und den Dateinamen der Quelldatei ein.</source>
        <translation>Zadejte prosím cestu ke složce a název zdrojového souboru.</translation>
    </message>
    <message id="64967">
        <source>Bitte geben Sie den Verzeichnispfad und den Dateinamen der Zieldatei ein.</source>
        <translation>Zadejte prosím cestu ke složce a název cílového souboru.</translation>
    </message>
    <message id="64968">
        <source>Der von Ihnen eingegebene Verzeichnispfad existiert nicht.</source>
        <translation>Zadaná cesta ke složce neexistuje.</translation>
    </message>
    <message id="64969">
        <source>Der von Ihnen eingegebene Dateiname existiert nicht.</source>
        <translation>Zadaný název souboru neexistuje.</translation>
    </message>
    <message id="64970">
        <source>Die Datei &quot;%s&quot; ist vermutlich eine komprimierte Datei, die vor dem Import entpackt werden muß.&#13;
&#13;
Möchten Sie die Datei wirklich verwenden?</source>
        <translation>Soubor &quot;%s&quot; je pravděpodobně komprimovaný soubor, který je nutné před importem rozbalit.&#13;
&#13;
Opravdu chcete soubor použít?</translation>
    </message>
    <message id="64971">
        <source>Bitte verwenden Sie keine Datenbank, die von diesem Programm benutzt wird.</source>
        <translation>Nepoužívejte prosím databázi, kterou používá tento program.</translation>
    </message>
    <message id="64972">
        <source>Quell- und Zieldatenbank sind identisch!&#13;
&#13;
Bitte korrigieren Sie Ihre Eingaben.</source>
        <translation>Zdrojová a cílová databáze jsou totožné!&#13;
&#13;
Opravte prosím své zadání.</translation>
    </message>
    <message id="64976">
        <source> mußte umbenannt werden, weil bereits eine mit diesem Namen </source>
        <translation> musela být přejmenována, protože nastavení s tímto názvem </translation>
    </message>
    <message id="64977">
        <source>existierte. Neue Bezeichnung: &quot;</source>
        <translation>již existovalo. Nový název: &quot;</translation>
    </message>
    <message id="64978">
        <source>Beim Einlesen vordefinierter Importeinstellungen sind Fehler aufgetreten.&#13;
&#13;
Möchten Sie eine Liste dieser Fehler sehen?</source>
        <translation>Při načítání předdefinovaných nastavení importu došlo k chybám.&#13;
&#13;
Chcete zobrazit seznam těchto chyb?</translation>
    </message>
    <message id="64979">
        <source>Die Importeinstellungsdatei %s.DB&#13;
ist nicht gefunden worden.&#13;
Es kann keine Kopie erstellt werden.</source>
        <translation>Soubor nastavení importu %s.DB&#13;
nebyl nalezen.&#13;
Kopii nelze vytvořit.</translation>
    </message>
    <message id="64980">
        <source>* String wird abgeschnitten, weil das Zielfeld nur %d Zeichen aufnehmen kann *</source>
        <translation>* Řetězec bude zkrácen, protože cílové pole pojme jen %d znaků *</translation>
    </message>
    <message id="64981">
        <source>Vorschau auf Tabellenfeld</source>
        <translation>Náhled pole tabulky</translation>
    </message>
    <message id="64982">
        <source>Die Importeinstellungsdatei %s.DB bzw. .MB&quot;&#13;
ist nicht gefunden worden.&#13;
Die Importeinstellung &quot;%s&quot;&#13;
kann nicht ausgeführt werden.</source>
        <translation>Soubor nastavení importu %s.DB nebo .MB&quot;&#13;
nebyl nalezen.&#13;
Nastavení importu &quot;%s&quot;&#13;
nelze spustit.</translation>
    </message>
    <message id="64983">
        <source>Soll die Importeinstellung gelöscht werden?</source>
        <translation>Má být nastavení importu smazáno?</translation>
    </message>
    <message id="64984">
        <source>Die Sicherungskopie ist erstellt worden</source>
        <translation>Záložní kopie byla vytvořena</translation>
    </message>
    <message id="64985">
        <source>Die Sicherungskopie konnte nicht erstellt werden</source>
        <translation>Záložní kopii nebylo možné vytvořit</translation>
    </message>
    <message id="64986">
        <source>Die gewählte Zieldatei %s&#13;
wird momentan von einem anderen Programm bereits verwendet!&#13;
Sie (bzw. beim Netzwerkeinsatz der/die andere Anwender) sollten &#13;
das Programm beenden, um die Datei freizugeben!</source>
        <translation>Zvolený cílový soubor %s&#13;
je momentálně již používán jiným programem!&#13;
Vy (nebo při provozu v síti jiný uživatel) byste měli &#13;
program ukončit, aby se soubor uvolnil!</translation>
    </message>
    <message id="64987">
        <source>Einlesen der Strukturen der Zieltabelle %s ist fehlgeschlagen.</source>
        <translation>Načtení struktur cílové tabulky %s se nezdařilo.</translation>
    </message>
    <message id="64988">
        <source>Einlesen der Strukturen der Quelltabelle %s ist fehlgeschlagen.</source>
        <translation>Načtení struktur zdrojové tabulky %s se nezdařilo.</translation>
    </message>
    <message id="64989">
        <source>Datensätze werden hinzugefügt,&#13;
vorhandene Datensätze bleiben unberührt...</source>
        <translation>Přidávají se záznamy,&#13;
existující záznamy zůstávají nedotčeny...</translation>
    </message>
    <message id="64990">
        <source>Die automatische Werterhöhung eines Datenbankfeldes vom Typ&#13;
&quot;%s&quot;&#13;
ist derzeit leider nicht möglich.</source>
        <translation>Automatické zvyšování hodnoty databázového pole typu&#13;
&quot;%s&quot;&#13;
není v současné době bohužel možné.</translation>
    </message>
    <message id="64991">
        <source>Sie haben &quot;Schlüsselwerte ignorieren&quot; gewählt,&#13;
jedoch für den Primärschlüssel der Zieltabelle keine&#13;
Feldzuordnung aus der Quelltabelle eingetragen.</source>
        <translation>Zvolili jste &quot;Ignorovat hodnoty klíče&quot;,&#13;
ale pro primární klíč cílové tabulky jste nezadali&#13;
žádné přiřazení pole ze zdrojové tabulky.</translation>
    </message>
    <message id="64992">
        <source>Loschen</source>
        <translation>Smazat</translation>
    </message>
    <message id="64993">
        <source>Filter-Dialog</source>
        <translation>Dialog filtru</translation>
    </message>
    <message id="64994">
        <source>Öffnen...</source>
        <translation>Otevřít...</translation>
    </message>
    <message id="64995">
        <source>Speichern unter...</source>
        <translation>Uložit jako...</translation>
    </message>
    <message id="64996">
        <source>Beschreibung</source>
        <translation>Popis</translation>
    </message>
    <message id="64997">
        <source>Dateiname</source>
        <translation>Název souboru</translation>
    </message>
    <message id="64998">
        <source>Erstellt: %s</source>
        <translation>Vytvořeno: %s</translation>
    </message>
    <message id="64999">
        <source>Geändert: %s</source>
        <translation>Změněno: %s</translation>
    </message>
    <message id="65000">
        <source>Schreibgeschützt</source>
        <translation>Jen pro čtení</translation>
    </message>
    <message id="65001">
        <source>Datei ist schreibgeschützt</source>
        <translation>Soubor je jen pro čtení</translation>
    </message>
    <message id="65002">
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message id="65003">
        <source>&amp;Abbrechen</source>
        <translation>&amp;Storno</translation>
    </message>
    <message id="65004">
        <source>Entfernen</source>
        <translation>Odebrat</translation>
    </message>
    <message id="65005">
        <source>Beim Einlesen vordefinierter Importeinstellungen sind folgende Fehler aufgetreten:</source>
        <translation>Při načítání předdefinovaných nastavení importu došlo k těmto chybám:</translation>
    </message>
    <message id="65006">
        <source>Möchten Sie die Importeinstellung &quot;%s&quot; wirklich löschen?</source>
        <translation>Opravdu chcete smazat nastavení importu &quot;%s&quot;?</translation>
    </message>
    <message id="65007">
        <source>Die neue Importeinstellung </source>
        <translation>Nové nastavení importu </translation>
    </message>
    <message id="65008">
        <source>nicht größer</source>
        <translation>ne větší</translation>
    </message>
    <message id="65009">
        <source>nicht kleiner</source>
        <translation>ne menší</translation>
    </message>
    <message id="65010">
        <source>kleiner als</source>
        <translation>menší než</translation>
    </message>
    <message id="65011">
        <source>größer als</source>
        <translation>větší než</translation>
    </message>
    <message id="65012">
        <source>leer</source>
        <translation>prázdné</translation>
    </message>
    <message id="65013">
        <source>nicht leer</source>
        <translation>neprázdné</translation>
    </message>
    <message id="65014">
        <source>in Liste</source>
        <translation>v seznamu</translation>
    </message>
    <message id="65015">
        <source>zwischen</source>
        <translation>mezi</translation>
    </message>
    <message id="65016">
        <source>ODER</source>
        <translation>NEBO</translation>
    </message>
    <message id="65017">
        <source>UND</source>
        <translation>A</translation>
    </message>
    <message id="65018">
        <source>Feld</source>
        <translation>Pole</translation>
    </message>
    <message id="65019">
        <source>Bedingung</source>
        <translation>Podmínka</translation>
    </message>
    <message id="65020">
        <source>Wert</source>
        <translation>Hodnota</translation>
    </message>
    <message id="65021">
        <source> Weitere Bedingung eingeben:</source>
        <translation> Zadejte další podmínku:</translation>
    </message>
    <message id="65022">
        <source> Auswahl der Datensätze gemäß der folgenden Bedingungen:</source>
        <translation> Výběr záznamů podle následujících podmínek:</translation>
    </message>
    <message id="65023">
        <source>Hinzufugen</source>
        <translation>Přidat</translation>
    </message>
    <message id="65038">
        <source>gleich</source>
        <translation>rovno</translation>
    </message>
    <message id="65039">
        <source>ungleich</source>
        <translation>nerovno</translation>
    </message>
    <message id="65052">
        <source>Es wurde keine Formel eingegeben</source>
        <translation>Nebyl zadán žádný vzorec</translation>
    </message>
    <message id="65053">
        <source>Das Feld &quot;%s&quot; ist nicht in der Tabelle enthalten</source>
        <translation>Pole &quot;%s&quot; není obsaženo v tabulce</translation>
    </message>
    <message id="65054">
        <source>Das Tabellenfeld: &quot;%s&quot;&#13;
mit dem Inhalt: &quot;%s&quot;&#13;
kann zu keinem gültigen nummerischen Wert konvertiert werden.&#13;
&#13;
Die Formel kann nicht bearbeitet werden.&#13;
&#13;
Eingestelltes Dezimaltrennzeichen: %s&#13;
Eingestelltes Tausendertrennzeichen: %s</source>
        <translation>Pole tabulky: &quot;%s&quot;&#13;
s obsahem: &quot;%s&quot;&#13;
nelze převést na platnou číselnou hodnotu.&#13;
&#13;
Vzorec nelze zpracovat.&#13;
&#13;
Nastavený oddělovač desetinných míst: %s&#13;
Nastavený oddělovač tisíců: %s</translation>
    </message>
    <message id="65168">
        <source>Die Importeinstellung konnte nicht kopiert werden</source>
        <translation>Nastavení importu nebylo možné zkopírovat</translation>
    </message>
    <message id="65169">
        <source>Import umbenennen</source>
        <translation>Přejmenovat import</translation>
    </message>
    <message id="65170">
        <source>Die Importeinstellung &quot;%s&quot; existiert bereits.</source>
        <translation>Nastavení importu &quot;%s&quot; již existuje.</translation>
    </message>
    <message id="65184">
        <source>Vorhandene Datensätze aktualisieren</source>
        <translation>Aktualizovat existující záznamy</translation>
    </message>
    <message id="65185">
        <source>vorhandene Datensätze ignorieren</source>
        <translation>ignorovat existující záznamy</translation>
    </message>
    <message id="65186">
        <source>Schlüsselwerte vorhandener Datensätze umbenennen</source>
        <translation>Přejmenovat hodnoty klíče existujících záznamů</translation>
    </message>
    <message id="65187">
        <source>Schlüsselwerte selbständig erhöhen</source>
        <translation>Zvyšovat hodnoty klíče automaticky</translation>
    </message>
    <message id="65188">
        <source>nicht vorhandene hinzufügen</source>
        <translation>přidat chybějící</translation>
    </message>
    <message id="65189">
        <source>Die Länge des Startwertes ist größer, als das&#13;
Primärschlüsselfeld der Zieltabelle.&#13;
&#13;
Bitte geben Sie einen anderen Startwert ein,&#13;
oder ändern Sie die Größendefinition des&#13;
Primärschlüsselfeldes Ihrer Zieltabelle.</source>
        <translation>Délka počáteční hodnoty je větší než&#13;
pole primárního klíče cílové tabulky.&#13;
&#13;
Zadejte prosím jinou počáteční hodnotu,&#13;
nebo změňte definici velikosti&#13;
pole primárního klíče cílové tabulky.</translation>
    </message>
    <message id="65190">
        <source>Die Operation ist nicht vollständig durchgeführt worden.</source>
        <translation>Operace nebyla zcela provedena.</translation>
    </message>
    <message id="65191">
        <source>Wenn Sie jetzt abbrechen kann sich das negativ auf den </source>
        <translation>Pokud nyní přerušíte, může to nepříznivě ovlivnit </translation>
    </message>
    <message id="65192">
        <source>weiteren Ablauf des Programmes auswirken.</source>
        <translation>další průběh programu.</translation>
    </message>
    <message id="65193">
        <source>Es konnten nicht alle notwendigen Daten eingelesen werden.</source>
        <translation>Nebylo možné načíst všechna potřebná data.</translation>
    </message>
    <message id="65194">
        <source>Möglicherweise können Sie die Importeinstellung &quot;%s&quot; nicht ausführen&quot;</source>
        <translation>Nastavení importu &quot;%s&quot; možná nebude možné spustit&quot;</translation>
    </message>
    <message id="65195">
        <source>Importeinstellung kopieren nach</source>
        <translation>Kopírovat nastavení importu do</translation>
    </message>
    <message id="65196">
        <source>Neue Bezeichnung</source>
        <translation>Nový název</translation>
    </message>
    <message id="65197">
        <source>Bitte kopieren Sie keine Importeinstellung auf sich selbst.</source>
        <translation>Nekopírujte prosím nastavení importu samo na sebe.</translation>
    </message>
    <message id="65198">
        <source>Die folgende Importeinstellung existiert bereits:</source>
        <translation>Následující nastavení importu již existuje:</translation>
    </message>
    <message id="65199">
        <source>Möchten Sie überschreiben?</source>
        <translation>Chcete je přepsat?</translation>
    </message>
    <message id="65200">
        <source>Importeinstellung wird überprüft...</source>
        <translation>Kontroluje se nastavení importu...</translation>
    </message>
    <message id="65201">
        <source>&amp;Raster ausblenden</source>
        <translation>Skrýt &amp;mřížku</translation>
    </message>
    <message id="65202">
        <source>&amp;Raster einblenden</source>
        <translation>Zobrazit &amp;mřížku</translation>
    </message>
    <message id="65203">
        <source>Zieldatenbank auswählen</source>
        <translation>Vybrat cílovou databázi</translation>
    </message>
    <message id="65204">
        <source>Optionen für Zielfeld</source>
        <translation>Možnosti cílového pole</translation>
    </message>
    <message id="65205">
        <source>Textdatei wird eingelesen...</source>
        <translation>Načítá se textový soubor...</translation>
    </message>
    <message id="65206">
        <source>Feldgrößen werden definiert...</source>
        <translation>Definují se velikosti polí...</translation>
    </message>
    <message id="65207">
        <source>Schlüsselwerte vorhandener Datensätze werden umbenannt...</source>
        <translation>Přejmenovávají se hodnoty klíče existujících záznamů...</translation>
    </message>
    <message id="65208">
        <source>Datensätze werden hinzugefügt...</source>
        <translation>Přidávají se záznamy...</translation>
    </message>
    <message id="65209">
        <source>Vorhandene Datensätze werden aktualisiert,&#13;
neue Datensätze hinzugefügt...</source>
        <translation>Aktualizují se existující záznamy,&#13;
přidávají se nové záznamy...</translation>
    </message>
    <message id="65210">
        <source>Importeinstellung auswählen</source>
        <translation>Vybrat nastavení importu</translation>
    </message>
    <message id="65211">
        <source>Neue Einstellungen werden eingelesen...</source>
        <translation>Načítají se nová nastavení...</translation>
    </message>
    <message id="65212">
        <source>&amp;Import starten</source>
        <translation>&amp;Spustit import</translation>
    </message>
    <message id="65213">
        <source>Sicherungskopie der Zieldatenbank erstellen</source>
        <translation>Vytvořit záložní kopii cílové databáze</translation>
    </message>
    <message id="65214">
        <source>Zieldatenbank vor dem Importlauf leeren</source>
        <translation>Vyprázdnit cílovou databázi před importem</translation>
    </message>
    <message id="65215">
        <source>Importierte Datensätze am Ende anhängen</source>
        <translation>Připojit importované záznamy na konec</translation>
    </message>
    <message id="65216">
        <source>Ganzzahl kurz</source>
        <translation>Krátké celé číslo</translation>
    </message>
    <message id="65217">
        <source>Ganzzahl lang</source>
        <translation>Dlouhé celé číslo</translation>
    </message>
    <message id="65218">
        <source>Datenbankinhalt wird vor dem Importlauf gelöscht!</source>
        <translation>Obsah databáze bude před importem smazán!</translation>
    </message>
    <message id="65219">
        <source>Sie haben die Option &quot;Zieldatenbank vor dem Import leeren&quot; gewählt.</source>
        <translation>Zvolili jste možnost &quot;Vyprázdnit cílovou databázi před importem&quot;.</translation>
    </message>
    <message id="65220">
        <source>Es bietet sich an, den Typ &quot;32-Bit-Integer&quot; zu verwenden.</source>
        <translation>Doporučuje se použít typ &quot;32bitové celé číslo&quot;.</translation>
    </message>
    <message id="65221">
        <source>Bitte verwenden sie einen anderen Startwert!</source>
        <translation>Použijte prosím jinou počáteční hodnotu!</translation>
    </message>
    <message id="65222">
        <source>Quelldatei auswählen</source>
        <translation>Vybrat zdrojový soubor</translation>
    </message>
    <message id="65223">
        <source>Auf diese Datenbank konnte nicht zugegriffen werden.</source>
        <translation>K této databázi nebylo možné přistoupit.</translation>
    </message>
    <message id="65224">
        <source>Die Datenbank konnte nicht geöffnet werden.</source>
        <translation>Databázi nebylo možné otevřít.</translation>
    </message>
    <message id="65225">
        <source>Ihre Bemerkung wurde gespeichert</source>
        <translation>Vaše poznámka byla uložena</translation>
    </message>
    <message id="65226">
        <source>Bitte erst eine Tabelle wählen!</source>
        <translation>Vyberte prosím nejprve tabulku!</translation>
    </message>
    <message id="65227">
        <source>Optionen &amp;schließen</source>
        <translation>Zavřít &amp;možnosti</translation>
    </message>
    <message id="65228">
        <source>Möchten Sie wirklich abbrechen?</source>
        <translation>Opravdu chcete přerušit?</translation>
    </message>
    <message id="65229">
        <source>Möchten Sie wirklich alle Zuordnungen aufheben?</source>
        <translation>Opravdu chcete zrušit všechna přiřazení?</translation>
    </message>
    <message id="65230">
        <source>Alle Zuordnungen werden aufgehoben...</source>
        <translation>Ruší se všechna přiřazení...</translation>
    </message>
    <message id="65231">
        <source>Datenbankinhalt wurde vor dem Importlauf gelöscht!</source>
        <translation>Obsah databáze byl před importem smazán!</translation>
    </message>
    <message id="65232">
        <source>Logisch J/N</source>
        <translation>Logická A/N</translation>
    </message>
    <message id="65233">
        <source>Numerisch</source>
        <translation>Číselné</translation>
    </message>
    <message id="65234">
        <source>Währung</source>
        <translation>Měna</translation>
    </message>
    <message id="65235">
        <source>BCD</source>
        <translation>BCD</translation>
    </message>
    <message id="65236">
        <source>Zeit</source>
        <translation>Čas</translation>
    </message>
    <message id="65237">
        <source>Datum/Zeit</source>
        <translation>Datum/čas</translation>
    </message>
    <message id="65238">
        <source>const.Byte (bin)</source>
        <translation>konst. bajt (bin)</translation>
    </message>
    <message id="65239">
        <source>var. Byte(bin)</source>
        <translation>prom. bajt (bin)</translation>
    </message>
    <message id="65240">
        <source>32 Bit Zähler</source>
        <translation>32bitový čítač</translation>
    </message>
    <message id="65241">
        <source>BLOB</source>
        <translation>BLOB</translation>
    </message>
    <message id="65242">
        <source>Memo</source>
        <translation>Memo</translation>
    </message>
    <message id="65243">
        <source>BitMap</source>
        <translation>Bitmapa</translation>
    </message>
    <message id="65244">
        <source>format. Memo</source>
        <translation>formát. memo</translation>
    </message>
    <message id="65245">
        <source>Paradox OLE</source>
        <translation>Paradox OLE</translation>
    </message>
    <message id="65246">
        <source>dBASE OLE</source>
        <translation>dBASE OLE</translation>
    </message>
    <message id="65247">
        <source>unbekannt</source>
        <translation>neznámý</translation>
    </message>
    <message id="65249">
        <source>Hochzählen</source>
        <translation>Zvyšování</translation>
    </message>
    <message id="65250">
        <source>Datum</source>
        <translation>Datum</translation>
    </message>
    <message id="65251">
        <source>Version</source>
        <translation>Verze</translation>
    </message>
    <message id="65252">
        <source>vom</source>
        <translation>ze dne</translation>
    </message>
    <message id="65253">
        <source>Neu</source>
        <translation>Nový</translation>
    </message>
    <message id="65254">
        <source>&amp;Vorschau</source>
        <translation>&amp;Náhled</translation>
    </message>
    <message id="65255">
        <source>Vorschau &amp;schließen</source>
        <translation>&amp;Zavřít náhled</translation>
    </message>
    <message id="65256">
        <source>Expression: </source>
        <translation>Výraz: </translation>
    </message>
    <message id="65257">
        <source>Wert:</source>
        <translation>Hodnota:</translation>
    </message>
    <message id="65258">
        <source>Formeleditor</source>
        <translation>Editor vzorců</translation>
    </message>
    <message id="65259">
        <source>Importeinstellungen</source>
        <translation>Nastavení importu</translation>
    </message>
    <message id="65260">
        <source>Zeichen</source>
        <translation>Znak</translation>
    </message>
    <message id="65261">
        <source>Ganzzahl, kurz</source>
        <translation>Celé číslo, krátké</translation>
    </message>
    <message id="65262">
        <source>Ganzzahl, lang</source>
        <translation>Celé číslo, dlouhé</translation>
    </message>
    <message id="65263">
        <source>Ganzzahl o. VZ</source>
        <translation>Celé číslo bez znaménka</translation>
    </message>
    <message id="65264">
        <source>The version of the resource file is invalid. Please, update the file and try again</source>
        <translation>Verze souboru prostředků je neplatná. Aktualizujte prosím soubor a zkuste to znovu</translation>
    </message>
    <message id="65265">
        <source>Invalid resource file format</source>
        <translation>Neplatný formát souboru prostředků</translation>
    </message>
    <message id="65266">
        <source>Error loading resource file &quot;%s&quot;</source>
        <translation>Chyba při načítání souboru prostředků &quot;%s&quot;</translation>
    </message>
    <message id="65267">
        <source>Localizer error</source>
        <translation>Chyba lokalizace</translation>
    </message>
    <message id="65268">
        <source>&amp;Abbrechen</source>
        <translation>&amp;Storno</translation>
    </message>
    <message id="65269">
        <source>&amp;Schließen</source>
        <translation>&amp;Zavřít</translation>
    </message>
    <message id="65270">
        <source>&amp;Optionen</source>
        <translation>&amp;Možnosti</translation>
    </message>
    <message id="65271">
        <source> Datensätze</source>
        <translation> záznamů</translation>
    </message>
    <message id="65272">
        <source>Quelle</source>
        <translation>Zdroj</translation>
    </message>
    <message id="65273">
        <source>Quelldatei</source>
        <translation>Zdrojový soubor</translation>
    </message>
    <message id="65274">
        <source>Tabelle</source>
        <translation>Tabulka</translation>
    </message>
    <message id="65275">
        <source>Ziel</source>
        <translation>Cíl</translation>
    </message>
    <message id="65276">
        <source>Zieldatenbank</source>
        <translation>Cílová databáze</translation>
    </message>
    <message id="65277">
        <source>Quelldatenbank</source>
        <translation>Zdrojová databáze</translation>
    </message>
    <message id="65278">
        <source>Zeilen</source>
        <translation>řádků</translation>
    </message>
    <message id="65279">
        <source>fertig.</source>
        <translation>hotovo.</translation>
    </message>
    <message id="65295">
        <source>The version of the resource file &quot;%s&quot; is invalid. Please, update the file and try again</source>
        <translation>Verze souboru prostředků &quot;%s&quot; je neplatná. Aktualizujte prosím soubor a zkuste to znovu</translation>
    </message>
    <message id="61300">
        <source>Beim Einlesen der Textdatei mussten Werte verändert werden.</source>
        <translation>Při načítání textového souboru bylo nutné změnit některé hodnoty.</translation>
    </message>
    <message id="61301">
        <source>Werte, die länger als 255 Zeichen waren und gekürzt wurden: %s</source>
        <translation>Hodnoty delší než 255 znaků, které byly zkráceny: %s</translation>
    </message>
    <message id="61302">
        <source>Zeichen, die in der Tabelle nicht gespeichert werden können und durch &quot;?&quot; ersetzt wurden: %s</source>
        <translation>Znaky, které nelze uložit do tabulky a byly nahrazeny znakem &quot;?&quot;: %s</translation>
    </message>
    <message id="61500">
        <source>Die Importeinstellung &quot;%s&quot; nennt den unzulässigen Dateinamen &quot;%s&quot; und ist nicht eingelesen worden.</source>
        <translation>Nastavení importu &quot;%s&quot; uvádí nepřípustný název souboru &quot;%s&quot; a nebylo načteno.</translation>
    </message>
    <message id="61501">
        <source>Zur Importeinstellung &quot;%s&quot; fehlen die Dateien %s.DB und .MB; sie ist nicht eingelesen worden.</source>
        <translation>K nastavení importu &quot;%s&quot; chybí soubory %s.DB a .MB; nebylo načteno.</translation>
    </message>
    <message id="61502">
        <source>Eine Zeile ohne Bezeichnung ist übergangen worden.</source>
        <translation>Řádek bez názvu byl přeskočen.</translation>
    </message>
    <message id="61503">
        <source>Die Bezeichnung &quot;%s&quot; ist länger als 80 Zeichen und ist auf &quot;%s&quot; gekürzt worden.</source>
        <translation>Název &quot;%s&quot; je delší než 80 znaků a byl zkrácen na &quot;%s&quot;.</translation>
    </message>
    <message id="61504">
        <source>Die Dateien der Importeinstellung &quot;%s&quot; hätten vorhandene Dateien überschrieben; sie ist nicht eingelesen worden.</source>
        <translation>Soubory nastavení importu &quot;%s&quot; by přepsaly existující soubory; nebylo načteno.</translation>
    </message>
    <message id="61505">
        <source>Die Dateien der Importeinstellung &quot;%s&quot; konnten nicht in den Programmordner kopiert werden; sie ist nicht eingelesen worden.</source>
        <translation>Soubory nastavení importu &quot;%s&quot; nebylo možné zkopírovat do složky programu; nebylo načteno.</translation>
    </message>
    <message id="61506">
        <source>Die Datei %s kann nicht als Liste von Importeinstellungen gelesen werden:&#13;
%s</source>
        <translation>Soubor %s nelze načíst jako seznam nastavení importu:&#13;
%s</translation>
    </message>
    <message id="61507">
        <source>In der Datei %s fehlt die Spalte &quot;%s&quot;. Es sind keine Importeinstellungen eingelesen worden.</source>
        <translation>V souboru %s chybí sloupec &quot;%s&quot;. Nebyla načtena žádná nastavení importu.</translation>
    </message>
    <message id="61508">
        <source>Die Bezeichnung einer Importeinstellung darf höchstens 80 Zeichen lang sein.</source>
        <translation>Název nastavení importu smí mít nejvýše 80 znaků.</translation>
    </message>
    <message id="61509">
        <source>Die Importeinstellung &quot;%s&quot; verweist auf den ungültigen Dateinamen &quot;%s&quot;.&#13;
Es ist keine Datei kopiert worden.</source>
        <translation>Nastavení importu &quot;%s&quot; odkazuje na neplatný název souboru &quot;%s&quot;.&#13;
Žádný soubor nebyl zkopírován.</translation>
    </message>
    <message id="61510">
        <source>Im Programmordner liegen schon Dateien mit dem Namen %s.&#13;
Die Importeinstellung ist nicht kopiert worden.</source>
        <translation>Ve složce programu již jsou soubory s názvem %s.&#13;
Nastavení importu nebylo zkopírováno.</translation>
    </message>
    <message id="61310">
        <source>Die Datei &quot;%s&quot; kann nicht gelesen werden: Ihnen fehlt die Berechtigung.</source>
        <translation>Soubor &quot;%s&quot; nelze přečíst: nemáte oprávnění.</translation>
    </message>
    <message id="61311">
        <source>Der Ordner &quot;%s&quot; konnte nicht angelegt werden.</source>
        <translation>Složku &quot;%s&quot; nelze vytvořit.</translation>
    </message>
    <message id="61312">
        <source>Die Zieldatei &quot;%s&quot; kann nicht beschrieben werden: Sie ist schreibgeschützt, oder Ihnen fehlt die Berechtigung.&#13;
Bitte wählen Sie eine andere Zieldatei.</source>
        <translation>Do cílového souboru &quot;%s&quot; nelze zapisovat: je chráněn proti zápisu, nebo nemáte oprávnění.&#13;
Zvolte prosím jiný cílový soubor.</translation>
    </message>
    <message id="61313">
        <source>In die Zieldatei &quot;%s&quot; kann nicht importiert werden.</source>
        <translation>Do cílového souboru &quot;%s&quot; nelze importovat.</translation>
    </message>
    <message id="61314">
        <source>Die Hilfedatei %s konnte nicht geöffnet werden.</source>
        <translation>Soubor nápovědy %s nelze otevřít.</translation>
    </message>
    <message id="61315">
        <source>Es konnte kein E-Mail-Programm geöffnet werden. Bitte kopieren Sie den Bericht und senden Sie ihn an %s.</source>
        <translation>Nepodařilo se otevřít žádný e-mailový program. Zkopírujte prosím zprávu a pošlete ji na %s.</translation>
    </message>
    <message id="61400">
        <source>Die Spalte %s hat keine Bezeichnung.&#13;
&#13;
Bitte geben Sie der Spalte einen Namen.</source>
        <translation>Sloupec %s nemá název.&#13;
&#13;
Zadejte prosím název sloupce.</translation>
    </message>
    <message id="61401">
        <source>Die Bezeichnung &quot;%s&quot; der Spalte %s beginnt mit einem Leerzeichen.&#13;
&#13;
Feldnamen dürfen nicht mit einem Leerzeichen beginnen.</source>
        <translation>Název &quot;%s&quot; sloupce %s začíná mezerou.&#13;
&#13;
Názvy polí nesmějí začínat mezerou.</translation>
    </message>
    <message id="61402">
        <source>Die Bezeichnung &quot;%s&quot; der Spalte %s ist länger als %s Zeichen.&#13;
&#13;
Bitte kürzen Sie die Spaltenbezeichnung.</source>
        <translation>Název &quot;%s&quot; sloupce %s je delší než %s znaků.&#13;
&#13;
Zkraťte prosím název sloupce.</translation>
    </message>
    <message id="61403">
        <source>Die Bezeichnung &quot;%s&quot; der Spalte %s enthält ein Zeichen, das in Feldnamen nicht erlaubt ist (Zeilenumbruch, Tabulator, [ ] { } ( ), &quot;-&gt;&quot; oder &quot;#&quot; allein).&#13;
&#13;
Bitte ändern Sie die Spaltenbezeichnung.</source>
        <translation>Název &quot;%s&quot; sloupce %s obsahuje znak, který názvy polí nesmějí obsahovat (konec řádku, tabulátor, [ ] { } ( ), &quot;-&gt;&quot; nebo samotné &quot;#&quot;).&#13;
&#13;
Změňte prosím název sloupce.</translation>
    </message>
    <message id="61404">
        <source>Die Bezeichnung &quot;%s&quot; der Spalte %s enthält Zeichen, die in der Quelltabelle nicht gespeichert werden können: %s&#13;
&#13;
Bitte ändern Sie die Spaltenbezeichnung.</source>
        <translation>Název &quot;%s&quot; sloupce %s obsahuje znaky, které nelze uložit do zdrojové tabulky: %s&#13;
&#13;
Změňte prosím název sloupce.</translation>
    </message>
    <message id="61405">
        <source>Die Datei ergibt %s Spalten; eine Tabelle kann höchstens %s Felder aufnehmen.&#13;
&#13;
Bitte wählen Sie andere Feldtrennzeichen.</source>
        <translation>Soubor obsahuje %s sloupců; tabulka může mít nejvýše %s polí.&#13;
&#13;
Zvolte prosím jiné oddělovače polí.</translation>
    </message>
    <message id="61406">
        <source>Die Bezeichnung &quot;%s&quot; der Spalte %s ergibt in der Quelltabelle denselben Feldnamen wie &quot;%s&quot; der Spalte %s.&#13;
&#13;
Bitte ändern Sie die Spaltenbezeichnung.</source>
        <translation>Název &quot;%s&quot; sloupce %s dává ve zdrojové tabulce stejný název pole jako &quot;%s&quot; sloupce %s.&#13;
&#13;
Změňte prosím název sloupce.</translation>
    </message>
    <message id="61407">
        <source>Die Textdatei konnte nicht eingelesen werden.&#13;
&#13;
%s</source>
        <translation>Textový soubor nelze načíst.&#13;
&#13;
%s</translation>
    </message>
    <message id="61408">
        <source>Die Datei ergibt %s Spalten; so viele Spalten kann die Zwischentabelle nicht aufnehmen:&#13;
%s&#13;
&#13;
Bitte wählen Sie andere Feldtrennzeichen oder legen Sie weniger Spalten fest.</source>
        <translation>Soubor obsahuje %s sloupců; tolik sloupců nemůže mezitabulka pojmout:&#13;
%s&#13;
&#13;
Zvolte prosím jiné oddělovače polí nebo nastavte méně sloupců.</translation>
    </message>
</context>
<context>
    <name>Filterdialog</name>
    <message id="61550">
        <source>Der Name &quot;%s&quot; kann keine Filterdatei benennen: er darf weder einen Ordner noch &quot;..&quot; enthalten.</source>
        <translation>Název &quot;%s&quot; nemůže označovat soubor filtru: nesmí obsahovat složku ani &quot;..&quot;.</translation>
    </message>
    <message id="61551">
        <source>Die Datei &quot;%s&quot; ist keine Filterdatei.</source>
        <translation>Soubor &quot;%s&quot; není souborem filtru.</translation>
    </message>
    <message id="61552">
        <source>Die Datei &quot;%s&quot; ist zu groß für eine Filterdatei.</source>
        <translation>Soubor &quot;%s&quot; je pro soubor filtru příliš velký.</translation>
    </message>
    <message id="61553">
        <source>Die Datei &quot;%s&quot; kann nicht gelesen werden: %s</source>
        <translation>Soubor &quot;%s&quot; nelze přečíst: %s</translation>
    </message>
    <message id="61554">
        <source>Die Datei &quot;%s&quot; kann nicht geschrieben werden: %s</source>
        <translation>Soubor &quot;%s&quot; nelze zapsat: %s</translation>
    </message>
    <message id="61555">
        <source>Die Filterdatei &quot;%s&quot; nennt in Bedingung %s die unbekannte Bedingungsnummer &quot;%s&quot;. Die Bedingungen davor wurden geladen.</source>
        <translation>Soubor filtru &quot;%s&quot; uvádí v podmínce %s neznámé číslo podmínky &quot;%s&quot;. Podmínky před ní byly načteny.</translation>
    </message>
    <message id="61556">
        <source>Die Filterdatei &quot;%s&quot; nennt in Bedingung %s das Feld &quot;%s&quot;, das hier nicht angeboten wird. Die Bedingungen davor wurden geladen.</source>
        <translation>Soubor filtru &quot;%s&quot; uvádí v podmínce %s pole &quot;%s&quot;, které zde není nabízeno. Podmínky před ní byly načteny.</translation>
    </message>
    <message id="61557">
        <source>In der Filterdatei &quot;%s&quot; ist Bedingung %s unvollständig. Die Bedingungen davor wurden geladen.</source>
        <translation>V souboru filtru &quot;%s&quot; je podmínka %s neúplná. Podmínky před ní byly načteny.</translation>
    </message>
    <message id="61558">
        <source>Die Bedingung kann so nicht gelten:&#13;
%s</source>
        <translation>Podmínka nemůže v této podobě platit:&#13;
%s</translation>
    </message>
    <message id="61559">
        <source>Für &quot;%s&quot; geben Sie zwei Werte ein, durch ein Leerzeichen getrennt, zum Beispiel: 1 9</source>
        <translation>Pro &quot;%s&quot; zadejte dvě hodnoty oddělené mezerou, například: 1 9</translation>
    </message>
</context>
<context>
    <name>TfrmImport1</name>
    <message id="TfrmImport1.btnHilfe6">
        <source>&amp;Hilfe</source>
        <translation>&amp;Nápověda</translation>
    </message>
    <message id="TfrmImport1.btnAbbrechen6">
        <source>&amp;Abbrechen</source>
        <translation>&amp;Storno</translation>
    </message>
    <message id="TfrmImport1.btnHilfe5">
        <source>&amp;Hilfe</source>
        <translation>&amp;Nápověda</translation>
    </message>
    <message id="TfrmImport1.btnAbbrechen5">
        <source>&amp;Abbrechen</source>
        <translation>&amp;Storno</translation>
    </message>
    <message id="TfrmImport1.btnHilfe4">
        <source>&amp;Hilfe</source>
        <translation>&amp;Nápověda</translation>
    </message>
    <message id="TfrmImport1.btnAbbrechen4">
        <source>&amp;Abbrechen</source>
        <translation>&amp;Storno</translation>
    </message>
    <message id="TfrmImport1.lblVorschauVorber">
        <source>Vorschau wird bearbeitet...</source>
        <translation>Připravuje se náhled...</translation>
    </message>
    <message id="TfrmImport1.lblSpalte">
        <source>Spalte:</source>
        <translation>Sloupec:</translation>
    </message>
    <message id="TfrmImport1.cbxRaster">
        <source>&amp;Raster einblenden</source>
        <translation>Zobrazit &amp;mřížku</translation>
    </message>
    <message id="TfrmImport1.Button4">
        <source>Debug</source>
        <translation>Ladění</translation>
    </message>
    <message id="TfrmImport1.rgrDatsatzlaenge0">
        <source>&amp;Variable Feldlänge</source>
        <translation>&amp;Proměnná délka pole</translation>
    </message>
    <message id="TfrmImport1.rgrDatsatzlaenge1">
        <source>&amp;Feste Feldlänge</source>
        <translation>Pe&amp;vná délka pole</translation>
    </message>
    <message id="TfrmImport1.btnQOptionen2">
        <source>&amp;Optionen</source>
        <translation>&amp;Možnosti</translation>
    </message>
    <message id="TfrmImport1.btnHilfe1txt">
        <source>&amp;Hilfe</source>
        <translation>&amp;Nápověda</translation>
    </message>
    <message id="TfrmImport1.btnAbbrechen1txt">
        <source>&amp;Abbrechen</source>
        <translation>&amp;Storno</translation>
    </message>
    <message id="TfrmImport1.btnZurueck1txt">
        <source>&lt;-- &amp;Zurück</source>
        <translation>&lt;-- &amp;Zpět</translation>
    </message>
    <message id="TfrmImport1.btnWeiter1txt">
        <source>&amp;Weiter --&gt;</source>
        <translation>&amp;Další --&gt;</translation>
    </message>
    <message id="TfrmImport1.Button6">
        <source>Inhalt ansehen</source>
        <translation>Zobrazit obsah</translation>
    </message>
    <message id="TfrmImport1.btnWeiterIB">
        <source>&amp;Weiter --&gt;</source>
        <translation>&amp;Další --&gt;</translation>
    </message>
    <message id="TfrmImport1.lblQuelleTitel">
        <source>Welche Datei soll importiert werden?</source>
        <translation>Který soubor se má importovat?</translation>
    </message>
    <message id="TfrmImport1.lblQuelle">
        <source>Bitte geben Sie den &amp;Verzeichnispfad und den Namen der Quell-
datei ein, oder suchen Sie danach, indem Sie die Schaltfläche
&quot;Durchsuchen&quot; anklicken.</source>
        <translation>Zadejte prosím &amp;cestu ke složce a název zdrojového
souboru, nebo jej vyhledejte klepnutím na tlačítko
&quot;Procházet&quot;.</translation>
    </message>
    <message id="TfrmImport1.Label7">
        <source>In welche Zieldatei sollen die Daten übertragen werden?</source>
        <translation>Do kterého cílového souboru se mají data přenést?</translation>
    </message>
    <message id="TfrmImport1.lblZiel">
        <source>Bitte geben Sie den &amp;Verzeichnispfad und den Namen der Daten-
bank ein, in die importiert werden soll, oder suchen Sie danach,
indem Sie die Schaltfläche &quot;Durchsuchen&quot; anklicken.</source>
        <translation>Zadejte prosím &amp;cestu ke složce a název data-
báze, do které se má importovat, nebo ji vyhledejte
klepnutím na tlačítko &quot;Procházet&quot;.</translation>
    </message>
    <message id="TfrmImport1.rbtFreieZieldatei">
        <source>&amp;frei wählbare Zieldatei:</source>
        <translation>&amp;Libovolný cílový soubor:</translation>
    </message>
    <message id="TfrmImport1.btnZBrowse">
        <source>&amp;Durchsuchen</source>
        <translation>P&amp;rocházet</translation>
    </message>
    <message id="TfrmImport1.rbtFRArtikeldatei">
        <source>Ferolin: A&amp;rtikeldatei</source>
        <translation>Ferolin: soubor z&amp;boží</translation>
    </message>
    <message id="TfrmImport1.rbtFRKundendatei">
        <source>Ferolin: &amp;Kundendatei</source>
        <translation>Ferolin: soubor zá&amp;kazníků</translation>
    </message>
    <message id="TfrmImport1.rbtWDAdressdatei">
        <source>Velmora-Wendamo: Adr&amp;essdatei</source>
        <translation>Velmora-Wendamo: soubor adr&amp;es</translation>
    </message>
    <message id="TfrmImport1.btnInhaltAnz3">
        <source>&amp;Inhalt ansehen</source>
        <translation>Zobrazit &amp;obsah</translation>
    </message>
    <message id="TfrmImport1.btnSicherungskopie">
        <source>&amp;Sicherungskopie anlegen</source>
        <translation>&amp;Vytvořit zálohu</translation>
    </message>
    <message id="TfrmImport1.cbxSicherungskopie">
        <source>&amp;Sicherungskopie anlegen</source>
        <translation>&amp;Vytvořit zálohu</translation>
    </message>
    <message id="TfrmImport1.cbxZielLeeren">
        <source>Zieldatei &amp;leeren:</source>
        <translation>V&amp;yprázdnit cílový soubor:</translation>
    </message>
    <message id="TfrmImport1.lblZielLeeren">
        <source>In der Zieldatei vorhandene
Datensätze werden vor dem
Import gelöscht!</source>
        <translation>Záznamy v cílovém
souboru budou před
importem smazány!</translation>
    </message>
    <message id="TfrmImport1.btnHilfe3">
        <source>&amp;Hilfe</source>
        <translation>&amp;Nápověda</translation>
    </message>
    <message id="TfrmImport1.btnAbbrechen3">
        <source>&amp;Abbrechen</source>
        <translation>&amp;Storno</translation>
    </message>
    <message id="TfrmImport1.btnZurueck3">
        <source>&lt;-- &amp;Zurück</source>
        <translation>&lt;-- &amp;Zpět</translation>
    </message>
    <message id="TfrmImport1.btnWeiter3">
        <source>&amp;Weiter --&gt;</source>
        <translation>&amp;Další --&gt;</translation>
    </message>
    <message id="TfrmImport1.lblBittewarten">
        <source>Daten werden eingelesen, bitte warten...</source>
        <translation>Načítají se data, čekejte prosím...</translation>
    </message>
    <message id="TfrmImport1.btnAccessInhaltAnsehen">
        <source>&amp;Inhalt ansehen</source>
        <translation>Zobrazit &amp;obsah</translation>
    </message>
    <message id="TfrmImport1.Button2">
        <source>&amp;Hilfe</source>
        <translation>&amp;Nápověda</translation>
    </message>
    <message id="TfrmImport1.Button1">
        <source>&amp;Abbrechen</source>
        <translation>&amp;Storno</translation>
    </message>
    <message id="TfrmImport1.bznZurueckAdo">
        <source>&lt;-- &amp;Zurück</source>
        <translation>&lt;-- &amp;Zpět</translation>
    </message>
    <message id="TfrmImport1.btnWeiterAdo">
        <source>&amp;Weiter --&gt;</source>
        <translation>&amp;Další --&gt;</translation>
    </message>
    <message id="TfrmImport1.btnQBrowse">
        <source>&amp;Durchsuchen</source>
        <translation>P&amp;rocházet</translation>
    </message>
    <message id="TfrmImport1.btnInhaltAnz2">
        <source>&amp;Inhalt ansehen</source>
        <translation>Zobrazit &amp;obsah</translation>
    </message>
    <message id="TfrmImport1.btnQOptionen1">
        <source>&amp;Optionen</source>
        <translation>&amp;Možnosti</translation>
    </message>
    <message id="TfrmImport1.btnHilfe2">
        <source>&amp;Hilfe</source>
        <translation>&amp;Nápověda</translation>
    </message>
    <message id="TfrmImport1.btnAbbrechen2">
        <source>&amp;Abbrechen</source>
        <translation>&amp;Storno</translation>
    </message>
    <message id="TfrmImport1.btnZurueck2">
        <source>&lt;-- &amp;Zurück</source>
        <translation>&lt;-- &amp;Zpět</translation>
    </message>
    <message id="TfrmImport1.btnWeiter2">
        <source>&amp;Weiter --&gt;</source>
        <translation>&amp;Další --&gt;</translation>
    </message>
    <message id="TfrmImport1.Label1">
        <source>Dieses Programm hilft Ihnen beim Importieren von Textdateien oder Datenbanken</source>
        <translation>Tento program vám pomůže importovat textové soubory nebo databáze</translation>
    </message>
    <message id="TfrmImport1.Label2">
        <source>Möchten Sie neue Importeinstellungen erstellen, oder
eventuell vorhandene Einstellungen verwenden?</source>
        <translation>Chcete vytvořit nové nastavení importu, nebo
použít případná existující nastavení?</translation>
    </message>
    <message id="TfrmImport1.rbtNeueImport">
        <source>Neue &amp;Importeinstellungen erstellen</source>
        <translation>Vytvořit nové nastavení &amp;importu</translation>
    </message>
    <message id="TfrmImport1.rbtVorhEinst_oAE">
        <source>Vorhandene Einstellungen &amp;ohne Änderungen verwenden</source>
        <translation>Použít existující nastavení &amp;beze změn</translation>
    </message>
    <message id="TfrmImport1.rbtVorhEinst_mAE">
        <source>Vorhandene Einstellungen ä&amp;ndern</source>
        <translation>Z&amp;měnit existující nastavení</translation>
    </message>
    <message id="TfrmImport1.rbtImpEinlesen">
        <source>Importeinstellungen einlesen</source>
        <translation>Načíst nastavení importu</translation>
    </message>
    <message id="TfrmImport1.gbxAktEinstellung">
        <source>Aktuelle Einstellung:</source>
        <translation>Aktuální nastavení:</translation>
    </message>
    <message id="TfrmImport1.lblWeitere">
        <source>Alle &amp;Einstellungen</source>
        <translation>&amp;Všechna nastavení</translation>
    </message>
    <message id="TfrmImport1.btnDetails">
        <source>&amp;Details</source>
        <translation>&amp;Podrobnosti</translation>
    </message>
    <message id="TfrmImport1.btnInfoVisible">
        <source>In&amp;fo</source>
        <translation>In&amp;fo</translation>
    </message>
    <message id="TfrmImport1.btnInfo2">
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message id="TfrmImport1.btnInfo3">
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message id="TfrmImport1.btnInfo4">
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message id="TfrmImport1.btnInfo5">
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message id="TfrmImport1.btnInfo6">
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message id="TfrmImport1.btnInfo1TXT">
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message id="TfrmImport1.btnInfo2TXT">
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message id="TfrmImport1.btnInfo3TXT">
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message id="TfrmImport1.Button3">
        <source>Sprache ändern</source>
        <translation>Změnit jazyk</translation>
    </message>
    <message id="TfrmImport1.btnHilfe1">
        <source>&amp;Hilfe</source>
        <translation>&amp;Nápověda</translation>
    </message>
    <message id="TfrmImport1.btnAbbrechen1">
        <source>&amp;Abbrechen</source>
        <translation>&amp;Storno</translation>
    </message>
    <message id="TfrmImport1.btnWeiter1">
        <source>&amp;Weiter --&gt;</source>
        <translation>&amp;Další --&gt;</translation>
    </message>
</context>
<context>
    <name>TfrmSplashScreen</name>
    <message id="TfrmSplashScreen.lblBeschreibung">
        <source>Das Daten-Importprogramm für Windows</source>
        <translation>Program pro import dat pro Windows</translation>
    </message>
    <message id="TfrmSplashScreen.btnOK">
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
</context>
<context>
    <name>TfrmInhaltAnz</name>
    <message id="TfrmInhaltAnz">
        <source>Inhalt ansehen</source>
        <translation>Zobrazit obsah</translation>
    </message>
    <message id="TfrmInhaltAnz.btnFilter">
        <source>&amp;Filter</source>
        <translation>&amp;Filtr</translation>
    </message>
    <message id="TfrmInhaltAnz.btnInhSchliessen">
        <source>&amp;Schließen</source>
        <translation>&amp;Zavřít</translation>
    </message>
    <message id="TfrmInhaltAnz.TabSheet1">
        <source>Quelldatei</source>
        <translation>Zdrojový soubor</translation>
    </message>
    <message id="TfrmInhaltAnz.TabSheet2">
        <source>Zieldatei</source>
        <translation>Cílový soubor</translation>
    </message>
    <message id="TfrmInhaltAnz.TabSheet3">
        <source>Inhalt der Textdatei</source>
        <translation>Obsah textového souboru</translation>
    </message>
    <message id="TfrmInhaltAnz.FilterDialog">
        <source>Quelldatei filtern</source>
        <translation>Filtrovat zdrojový soubor</translation>
    </message>
</context>
<context>
    <name>TfrmGauge</name>
    <message id="TfrmGauge.lblSummeQuelleCaption">
        <source>Anzahl der zu importierenden Datensätze</source>
        <translation>Počet záznamů k importu</translation>
    </message>
    <message id="TfrmGauge.lblAnzHinzuCaption">
        <source>Anzahl hinzugefügter Datensätze</source>
        <translation>Počet přidaných záznamů</translation>
    </message>
    <message id="TfrmGauge.lblIgnorCaption">
        <source>Anzahl ignorierter Datensätze</source>
        <translation>Počet ignorovaných záznamů</translation>
    </message>
    <message id="TfrmGauge.lblUmbenCaption">
        <source>Anzahl umbenannter Datensätze</source>
        <translation>Počet přejmenovaných záznamů</translation>
    </message>
    <message id="TfrmGauge.lblAnzAktCaption">
        <source>Anzahl aktualisierter Datensätze</source>
        <translation>Počet aktualizovaných záznamů</translation>
    </message>
    <message id="TfrmGauge.lblSummeCaption">
        <source>Summe bearbeiteter Datensätze</source>
        <translation>Celkem zpracovaných záznamů</translation>
    </message>
    <message id="TfrmGauge.lblAnzFehlerCaption">
        <source>Anzahl der aufgetretenen Fehler:</source>
        <translation>Počet chyb:</translation>
    </message>
    <message id="TfrmGauge.lblAnzGeles">
        <source>Anzahl gelesener Zeilen</source>
        <translation>Počet přečtených řádků</translation>
    </message>
    <message id="TfrmGauge.btnGaugeAbbrechen">
        <source>&amp;Abbrechen</source>
        <translation>&amp;Storno</translation>
    </message>
    <message id="TfrmGauge.btnHilfe">
        <source>&amp;Hilfe</source>
        <translation>&amp;Nápověda</translation>
    </message>
</context>
<context>
    <name>TfrmEinstellAEND</name>
    <message id="TfrmEinstellAEND.gbxAnzeigeImpEinst">
        <source>Anzeige</source>
        <translation>Zobrazit</translation>
    </message>
    <message id="TfrmEinstellAEND.gbxAnzeigeImpEinst0">
        <source>Eigene Importeinstellungen</source>
        <translation>Vlastní nastavení importu</translation>
    </message>
    <message id="TfrmEinstellAEND.gbxAnzeigeImpEinst1">
        <source>Vordefinierte Importeinstellungen</source>
        <translation>Předdefinovaná nastavení importu</translation>
    </message>
    <message id="TfrmEinstellAEND.gbxAnzeigeImpEinst2">
        <source>Alle Importeinstellungen</source>
        <translation>Všechna nastavení importu</translation>
    </message>
    <message id="TfrmEinstellAEND.btnVonDiskEinlesen">
        <source>Neue &amp;Einstellungen einlesen</source>
        <translation>Načíst no&amp;vá nastavení</translation>
    </message>
    <message id="TfrmEinstellAEND.btnKopierenNach">
        <source>&amp;Kopieren nach</source>
        <translation>&amp;Kopírovat do</translation>
    </message>
    <message id="TfrmEinstellAEND.btnLoeschen">
        <source>&amp;Löschen</source>
        <translation>Odst&amp;ranit</translation>
    </message>
    <message id="TfrmEinstellAEND.btnUmbenennen">
        <source>&amp;Umbenennen</source>
        <translation>&amp;Přejmenovat</translation>
    </message>
    <message id="TfrmEinstellAEND.lblBez">
        <source>Bezeichnung</source>
        <translation>Název</translation>
    </message>
    <message id="TfrmEinstellAEND.lblLetzImp">
        <source>Letzter Import</source>
        <translation>Poslední import</translation>
    </message>
    <message id="TfrmEinstellAEND.lblBemerkung">
        <source>Bemerkung</source>
        <translation>Poznámka</translation>
    </message>
    <message id="TfrmEinstellAEND.lblQuelle">
        <source>Quelldatei</source>
        <translation>Zdrojový soubor</translation>
    </message>
    <message id="TfrmEinstellAEND.cbxQuelleAusw">
        <source>Datei auswählen</source>
        <translation>Vybrat soubor</translation>
    </message>
    <message id="TfrmEinstellAEND.lblZiel">
        <source>Zieldatei</source>
        <translation>Cílový soubor</translation>
    </message>
    <message id="TfrmEinstellAEND.cbxZielAusw">
        <source>Datei auswählen</source>
        <translation>Vybrat soubor</translation>
    </message>
    <message id="TfrmEinstellAEND.cbxSicherungskopie">
        <source>Sicherungskopie erstellen</source>
        <translation>Vytvořit záložní kopii</translation>
    </message>
    <message id="TfrmEinstellAEND.cbxZielLeer">
        <source>Zieldatenbank vor dem Import leeren</source>
        <translation>Před importem vyprázdnit cílovou databázi</translation>
    </message>
    <message id="TfrmEinstellAEND.lblIntTab">
        <source>Basisname der internen Dateien</source>
        <translation>Základní název interních souborů</translation>
    </message>
    <message id="TfrmEinstellAEND.lblImportlauf">
        <source>Importlaufeigenschaft</source>
        <translation>Vlastnost běhu importu</translation>
    </message>
    <message id="TfrmEinstellAEND.btnOptionen">
        <source>&amp;Optionen</source>
        <translation>&amp;Možnosti</translation>
    </message>
    <message id="TfrmEinstellAEND.btnHilfe">
        <source>&amp;Hilfe</source>
        <translation>&amp;Nápověda</translation>
    </message>
    <message id="TfrmEinstellAEND.btnImportStarten">
        <source>&amp;Import starten</source>
        <translation>&amp;Spustit import</translation>
    </message>
    <message id="TfrmEinstellAEND.btnAbbrechen">
        <source>&amp;Abbrechen</source>
        <translation>S&amp;torno</translation>
    </message>
</context>
<context>
    <name>TfrmEinstellANZ</name>
    <message id="TfrmEinstellANZ">
        <source>Vorhandene Importeinstellung ohne Änderung übernehmen</source>
        <translation>Převzít existující nastavení importu beze změn</translation>
    </message>
    <message id="TfrmEinstellANZ.lblLetzterImport">
        <source>Letzter Import</source>
        <translation>Poslední import</translation>
    </message>
    <message id="TfrmEinstellANZ.lblQuelldatei">
        <source>Quelldatei</source>
        <translation>Zdrojový soubor</translation>
    </message>
    <message id="TfrmEinstellANZ.lblZieldatei">
        <source>Zieldatei</source>
        <translation>Cílový soubor</translation>
    </message>
    <message id="TfrmEinstellANZ.lblBemerkung">
        <source>Bemerkung</source>
        <translation>Poznámka</translation>
    </message>
    <message id="TfrmEinstellANZ.lblIntTabTitel">
        <source>Basisname interner Dateien</source>
        <translation>Základní název interních souborů</translation>
    </message>
    <message id="TfrmEinstellANZ.lblOptionenTitel">
        <source>Optionen Importlauf:</source>
        <translation>Možnosti běhu importu:</translation>
    </message>
    <message id="TfrmEinstellANZ.btnOptionen">
        <source>&amp;Optionen</source>
        <translation>&amp;Možnosti</translation>
    </message>
    <message id="TfrmEinstellANZ.btnSchliessen">
        <source>&amp;Schliessen</source>
        <translation>&amp;Zavřít</translation>
    </message>
    <message id="TfrmEinstellANZ.btnHilfe">
        <source>&amp;Hilfe</source>
        <translation>&amp;Nápověda</translation>
    </message>
</context>
<context>
    <name>TfrmFormelEdt</name>
    <message id="TfrmFormelEdt">
        <source>Formeleditor</source>
        <translation>Editor vzorců</translation>
    </message>
    <message id="TfrmFormelEdt.btnOK">
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message id="TfrmFormelEdt.btnVorschau">
        <source>&amp;Vorschau</source>
        <translation>&amp;Náhled</translation>
    </message>
    <message id="TfrmFormelEdt.btnHilfe">
        <source>&amp;Hilfe</source>
        <translation>Nápo&amp;věda</translation>
    </message>
    <message id="TfrmFormelEdt.btnLoeschen">
        <source>&amp;Löschen</source>
        <translation>&amp;Smazat</translation>
    </message>
</context>
<context>
    <name>TfrmCopyFehler</name>
    <message id="TfrmCopyFehler">
        <source>Zusammenfassung Importeinstellung einlesen</source>
        <translation>Souhrn načtení nastavení importu</translation>
    </message>
    <message id="TfrmCopyFehler.btnSchliessen">
        <source>&amp;Schließen</source>
        <translation>&amp;Zavřít</translation>
    </message>
</context>
<context>
    <name>TfrmQOptionen</name>
    <message id="TfrmQOptionen">
        <source>Allgemeine Einstellungen</source>
        <translation>Obecná nastavení</translation>
    </message>
    <message id="TfrmQOptionen.lblDecimal">
        <source>Dezimaltrennzeichen</source>
        <translation>Oddělovač desetinných míst</translation>
    </message>
    <message id="TfrmQOptionen.lblTausend">
        <source>Tausendertrennzeichen</source>
        <translation>Oddělovač tisíců</translation>
    </message>
    <message id="TfrmQOptionen.lblTime">
        <source>Uhrzeittrennzeichen</source>
        <translation>Oddělovač času</translation>
    </message>
    <message id="TfrmQOptionen.lblDate">
        <source>Datumstrennzeichen</source>
        <translation>Oddělovač data</translation>
    </message>
    <message id="TfrmQOptionen.lblTMJ">
        <source>Tag/Monat/Jahr</source>
        <translation>Den/Měsíc/Rok</translation>
    </message>
    <message id="TfrmQOptionen.comTMJ.0">
        <source>TT/MM/JJJJ</source>
        <translation>DD/MM/RRRR</translation>
    </message>
    <message id="TfrmQOptionen.comTMJ.1">
        <source>MM/TT/JJJJ</source>
        <translation>MM/DD/RRRR</translation>
    </message>
    <message id="TfrmQOptionen.comTMJ.2">
        <source>JJJJ/MM/TT</source>
        <translation>RRRR/MM/DD</translation>
    </message>
    <message id="TfrmQOptionen.comTMJ.3">
        <source>JJJJ/TT/MM</source>
        <translation>RRRR/DD/MM</translation>
    </message>
    <message id="TfrmQOptionen.comTMJ.4">
        <source>MM/JJJJ/TT</source>
        <translation>MM/RRRR/DD</translation>
    </message>
    <message id="TfrmQOptionen.comTMJ.5">
        <source>TT/JJJJ/MM</source>
        <translation>DD/RRRR/MM</translation>
    </message>
    <message id="TfrmQOptionen.cbxDosToWin">
        <source>Umlaute/Sonderzeichen von DOS nach Windows konvertieren</source>
        <translation>Převést přehlásky a zvláštní znaky z DOS do Windows</translation>
    </message>
    <message id="TfrmQOptionen.btnOK">
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message id="TfrmQOptionen.btnHilfe">
        <source>&amp;Hilfe</source>
        <translation>&amp;Nápověda</translation>
    </message>
</context>
<context>
    <name>ErrorReportWindow</name>
    <message id="ErrorReportWindow">
        <source>Programmfehler</source>
        <translation>Chyba programu</translation>
    </message>
    <message id="ErrorReportWindow.lblUeberschrift">
        <source>Im Programm ist ein Fehler aufgetreten, der nicht behandelt wurde.</source>
        <translation>V programu došlo k chybě, která nebyla ošetřena.</translation>
    </message>
    <message id="ErrorReportWindow.lblAufrufstapel">
        <source>&amp;Aufrufstapel:</source>
        <translation>Zásobník &amp;volání:</translation>
    </message>
    <message id="ErrorReportWindow.btnKopieren">
        <source>&amp;Kopieren</source>
        <translation>&amp;Kopírovat</translation>
    </message>
    <message id="ErrorReportWindow.btnSenden">
        <source>&amp;Senden</source>
        <translation>&amp;Odeslat</translation>
    </message>
    <message id="ErrorReportWindow.btnOK">
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
</context>
<context>
    <name>HelpViewer</name>
    <message id="HelpViewer">
        <source>Hilfe</source>
        <translation>Nápověda</translation>
    </message>
</context>
<context>
    <name>TfrmImport1</name>
    <message id="TfrmImport1.lblQuellZuord">
        <source>&amp;Quelldatei</source>
        <translation>Zdro&amp;jový soubor</translation>
    </message>
    <message id="TfrmImport1.btnZuordnen">
        <source>zuo&amp;rdnen</source>
        <translation>př&amp;iřadit</translation>
    </message>
    <message id="TfrmImport1.btnAufheben">
        <source>au&amp;fheben</source>
        <translation>z&amp;rušit</translation>
    </message>
    <message id="TfrmImport1.btnAlleAufheben">
        <source>a&amp;lle aufheben</source>
        <translation>zrušit &amp;vše</translation>
    </message>
    <message id="TfrmImport1.btnOptionen">
        <source>&amp;Optionen</source>
        <translation>&amp;Možnosti</translation>
    </message>
    <message id="TfrmImport1.lblZielZuord">
        <source>Zi&amp;eldatenbank Zuordnung</source>
        <translation>Přiřazení &amp;cílové databáze</translation>
    </message>
    <message id="TfrmImport1.lblZuordHint">
        <source>Wählen Sie das Feld der Quelldatenbanktabelle aus, dessen
Daten Sie importieren möchten.

Wählen Sie das Feld der Zieldatenbanktabelle aus, das die
Daten des Quelldatenbankfeldes erhalten soll.

Klicken Sie mit der Maus auf die Schaltfläche 'zuordnen'.</source>
        <translation>Vyberte pole tabulky zdrojové databáze, jehož
data chcete importovat.

Vyberte pole tabulky cílové databáze, které má
obdržet data zdrojového pole.

Klepněte na tlačítko 'přiřadit'.</translation>
    </message>
    <message id="TfrmImport1.lblZZ_Optionen">
        <source>Optionen für Zielfeld</source>
        <translation>Možnosti cílového pole</translation>
    </message>
    <message id="TfrmImport1.cbxZZ_Vorgabe">
        <source>Vorgabewert setzen:</source>
        <translation>Nastavit výchozí hodnotu:</translation>
    </message>
    <message id="TfrmImport1.lblZZ_Vorgabe">
        <source>falls Quellwert</source>
        <translation>pokud zdrojová hodnota</translation>
    </message>
    <message id="TfrmImport1.cbxZZ_Vorgabe_Gleich">
        <source>=</source>
        <translation>=</translation>
    </message>
    <message id="TfrmImport1.cbxZZ_Vorgabe_Kleiner">
        <source>&lt;</source>
        <translation>&lt;</translation>
    </message>
    <message id="TfrmImport1.cbxZZ_Vorgabe_Groesser">
        <source>&gt;</source>
        <translation>&gt;</translation>
    </message>
    <message id="TfrmImport1.cbxZZ_Div">
        <source>Dividieren durch:</source>
        <translation>Dělit:</translation>
    </message>
    <message id="TfrmImport1.cbxZZ_Mul">
        <source>Multiplizieren mit:</source>
        <translation>Násobit:</translation>
    </message>
    <message id="TfrmImport1.cbxZZ_Formel">
        <source>Formel  (z. B. #Feld1 * 1.16  oder   #Feld3 * #Feld4):</source>
        <translation>Vzorec  (např. #Pole1 * 1.16  nebo   #Pole3 * #Pole4):</translation>
    </message>
    <message id="TfrmImport1.btnZZ_Zoom">
        <source>&amp;O</source>
        <translation>&amp;E</translation>
    </message>
    <message id="TfrmImport1.cbxZZ_Runden">
        <source>Runden auf </source>
        <translation>Zaokrouhlit na </translation>
    </message>
    <message id="TfrmImport1.lblZZ_Stellen">
        <source>Stellen</source>
        <translation>míst</translation>
    </message>
    <message id="TfrmImport1.cbxZZ_Akt">
        <source>Zielfeld aktualisieren, wenn Datensatz bereits vorhanden ist</source>
        <translation>Aktualizovat cílové pole, pokud záznam již existuje</translation>
    </message>
    <message id="TfrmImport1.lblZS_Optionen">
        <source>Optionen für Zielfeld</source>
        <translation>Možnosti cílového pole</translation>
    </message>
    <message id="TfrmImport1.cbxZS_Vorgabe">
        <source>Vorgabewert setzen</source>
        <translation>Nastavit výchozí hodnotu</translation>
    </message>
    <message id="TfrmImport1.lblZS_Vorgabe">
        <source>falls Quellwert:</source>
        <translation>pokud zdrojová hodnota:</translation>
    </message>
    <message id="TfrmImport1.cbxZS_Vorgabe_Gleich">
        <source>=</source>
        <translation>=</translation>
    </message>
    <message id="TfrmImport1.cbxZS_Vorgabe_Kleiner">
        <source>&lt;</source>
        <translation>&lt;</translation>
    </message>
    <message id="TfrmImport1.cbxZS_Vorgabe_Groesser">
        <source>&gt;</source>
        <translation>&gt;</translation>
    </message>
    <message id="TfrmImport1.lblZS_BeiUeberlaenge">
        <source>Bei Überlänge:</source>
        <translation>Při překročení délky:</translation>
    </message>
    <message id="TfrmImport1.cbxZS_UEVorgabe">
        <source>Vorgabewert setzen</source>
        <translation>Nastavit výchozí hodnotu</translation>
    </message>
    <message id="TfrmImport1.cbxZS_Abschneiden">
        <source>abschneiden</source>
        <translation>oříznout</translation>
    </message>
    <message id="TfrmImport1.cbxZS_Abschneiden_li">
        <source>links</source>
        <translation>vlevo</translation>
    </message>
    <message id="TfrmImport1.cbxZS_Abschneiden_re">
        <source>rechts</source>
        <translation>vpravo</translation>
    </message>
    <message id="TfrmImport1.lblZS_Vorgabewert">
        <source>Vorgabewert:</source>
        <translation>Výchozí hodnota:</translation>
    </message>
    <message id="TfrmImport1.lblZS_Ausrichtung">
        <source>Ausrichtung:</source>
        <translation>Zarovnání:</translation>
    </message>
    <message id="TfrmImport1.cbxZS_Ausrichtung_li">
        <source>links</source>
        <translation>vlevo</translation>
    </message>
    <message id="TfrmImport1.cbxZS_Ausrichtung_re">
        <source>rechts</source>
        <translation>vpravo</translation>
    </message>
    <message id="TfrmImport1.cbxZS_Div">
        <source>Dividieren durch:</source>
        <translation>Dělit:</translation>
    </message>
    <message id="TfrmImport1.cbxZS_Mul">
        <source>Multiplizieren mit:</source>
        <translation>Násobit:</translation>
    </message>
    <message id="TfrmImport1.cbxZS_FAkt">
        <source>Zielfeld aktualisieren, wenn Datensatz bereits vorhanden ist</source>
        <translation>Aktualizovat cílové pole, pokud záznam již existuje</translation>
    </message>
    <message id="TfrmImport1.lblSZ_Optionen">
        <source>Optionen für Zielfeld</source>
        <translation>Možnosti cílového pole</translation>
    </message>
    <message id="TfrmImport1.cbxSZ_Vorgabe">
        <source>Vorgabewert setzen:</source>
        <translation>Nastavit výchozí hodnotu:</translation>
    </message>
    <message id="TfrmImport1.lblSZ_Vorgabe">
        <source>falls Quellwert</source>
        <translation>pokud zdrojová hodnota</translation>
    </message>
    <message id="TfrmImport1.cbxSZ_Vorgabe_Gleich">
        <source>=</source>
        <translation>=</translation>
    </message>
    <message id="TfrmImport1.cbxSZ_Vorgabe_Kleiner">
        <source>&lt;</source>
        <translation>&lt;</translation>
    </message>
    <message id="TfrmImport1.cbxSZ_Vorgabe_Groesser">
        <source>&gt;</source>
        <translation>&gt;</translation>
    </message>
    <message id="TfrmImport1.cbxSZ_Div">
        <source>Dividieren durch:</source>
        <translation>Dělit:</translation>
    </message>
    <message id="TfrmImport1.cbxSZ_Mul">
        <source>Multiplizieren mit:</source>
        <translation>Násobit:</translation>
    </message>
    <message id="TfrmImport1.cbxSZ_Formel">
        <source>Formel  (z. B. #Feld1 * 1.16  oder   #Feld3 * #Feld4):</source>
        <translation>Vzorec  (např. #Pole1 * 1.16  nebo   #Pole3 * #Pole4):</translation>
    </message>
    <message id="TfrmImport1.btnSZ_Zoom">
        <source>&amp;O</source>
        <translation>&amp;E</translation>
    </message>
    <message id="TfrmImport1.cbxSZ_Runden">
        <source>Runden auf </source>
        <translation>Zaokrouhlit na </translation>
    </message>
    <message id="TfrmImport1.lblSZ_Stellen">
        <source>Stellen</source>
        <translation>míst</translation>
    </message>
    <message id="TfrmImport1.cbxSZ_FAkt">
        <source>Zielfeld aktualisieren, wenn Datensatz bereits vorhanden ist</source>
        <translation>Aktualizovat cílové pole, pokud záznam již existuje</translation>
    </message>
    <message id="TfrmImport1.lblSS_Optionen">
        <source>Optionen für Zielfeld</source>
        <translation>Možnosti cílového pole</translation>
    </message>
    <message id="TfrmImport1.cbxSS_Vorgabe">
        <source>Vorgabewert setzen:</source>
        <translation>Nastavit výchozí hodnotu:</translation>
    </message>
    <message id="TfrmImport1.lblSS_Vorgabe">
        <source>falls Quellwert:</source>
        <translation>pokud zdrojová hodnota:</translation>
    </message>
    <message id="TfrmImport1.cbxSS_Vorgabe_Gleich">
        <source>=</source>
        <translation>=</translation>
    </message>
    <message id="TfrmImport1.cbxSS_Vorgabe_Leer">
        <source>leer</source>
        <translation>prázdná</translation>
    </message>
    <message id="TfrmImport1.lblBeiUeberlaenge">
        <source>Bei Überlänge:</source>
        <translation>Při překročení délky:</translation>
    </message>
    <message id="TfrmImport1.cbxSS_UEVorgabe">
        <source>Vorgabewert setzen</source>
        <translation>Nastavit výchozí hodnotu</translation>
    </message>
    <message id="TfrmImport1.cbxSS_Abschneiden">
        <source>abschneiden</source>
        <translation>oříznout</translation>
    </message>
    <message id="TfrmImport1.cbxSS_Abschneiden_li">
        <source>links</source>
        <translation>vlevo</translation>
    </message>
    <message id="TfrmImport1.cbxSS_Abschneiden_re">
        <source>rechts</source>
        <translation>vpravo</translation>
    </message>
    <message id="TfrmImport1.lblSS_Vorgabewert">
        <source>Vorgabewert:</source>
        <translation>Výchozí hodnota:</translation>
    </message>
    <message id="TfrmImport1.lblSS_Ausrichtung">
        <source>Bei numerischen Werten,  Ausrichtung:</source>
        <translation>U číselných hodnot,  zarovnání:</translation>
    </message>
    <message id="TfrmImport1.cbxSS_Ausrichtung_li">
        <source>links</source>
        <translation>vlevo</translation>
    </message>
    <message id="TfrmImport1.cbxSS_Ausrichtung_re">
        <source>rechts</source>
        <translation>vpravo</translation>
    </message>
    <message id="TfrmImport1.cbxSS_Ausschnitt">
        <source>String nur von Stelle </source>
        <translation>Převzít řetězec jen od pozice </translation>
    </message>
    <message id="TfrmImport1.lblSS_Ausschnittbis">
        <source>bis</source>
        <translation>do</translation>
    </message>
    <message id="TfrmImport1.lblSS_Ausschnittuebern">
        <source>übernehmen.</source>
        <translation>.</translation>
    </message>
    <message id="TfrmImport1.cbxSS_Formel">
        <source>Formel  (z.B. &quot;Sehr geehrter &quot; + #Feld2 + &quot; &quot; + #Feld3):</source>
        <translation>Vzorec  (např. &quot;Vážený &quot; + #Pole2 + &quot; &quot; + #Pole3):</translation>
    </message>
    <message id="TfrmImport1.btnSS_Zoom">
        <source>&amp;O</source>
        <translation>&amp;E</translation>
    </message>
    <message id="TfrmImport1.cbxSS_FAkt">
        <source>Zielfeld aktualisieren, wenn Datensatz bereits vorhanden ist</source>
        <translation>Aktualizovat cílové pole, pokud záznam již existuje</translation>
    </message>
    <message id="TfrmImport1.btnInhaltAnz4">
        <source>&amp;Inhalte ansehen</source>
        <translation>Zobrazit &amp;obsah</translation>
    </message>
    <message id="TfrmImport1.btnZurueck4">
        <source>&lt;-- &amp;Zurück</source>
        <translation>&lt;-- &amp;Zpět</translation>
    </message>
    <message id="TfrmImport1.btnWeiter4">
        <source>&amp;Weiter --&gt;</source>
        <translation>&amp;Další --&gt;</translation>
    </message>
    <name>Programmtexte (mode and finish pages)</name>
    <message id="61450">
        <source>Die Importeinstellung &quot;%s&quot; kann nicht geladen werden.</source>
        <translation>Nastavení importu &quot;%s&quot; nelze načíst.</translation>
    </message>
    <message id="61451">
        <source>Der Name der Importeinstellung ist zu lang: Es sind höchstens %s Zeichen möglich.</source>
        <translation>Název nastavení importu je příliš dlouhý: je možných nejvýše %s znaků.</translation>
    </message>
    <message id="61452">
        <source>Der Importlauf wurde abgebrochen, nachdem %s Datensätze gelesen waren.</source>
        <translation>Import byl přerušen po načtení %s záznamů.</translation>
    </message>
    <message id="61600">
        <source>Fehler</source>
        <translation>Chyba</translation>
    </message>
    <message id="61601">
        <source>Warnung</source>
        <translation>Upozornění</translation>
    </message>
    <message id="61602">
        <source>Information</source>
        <translation>Informace</translation>
    </message>
    <message id="61603">
        <source>Bestätigen</source>
        <translation>Potvrzení</translation>
    </message>
    <message id="61604">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="61605">
        <source>Abbrechen</source>
        <translation>Storno</translation>
    </message>
    <message id="61606">
        <source>&amp;Ja</source>
        <translation>&amp;Ano</translation>
    </message>
    <message id="61607">
        <source>&amp;Nein</source>
        <translation>&amp;Ne</translation>
    </message>
    <message id="61608">
        <source>Ja, &amp;alle</source>
        <translation>Ano, &amp;vše</translation>
    </message>
    <message id="61609">
        <source>&amp;Hilfe</source>
        <translation>Nápo&amp;věda</translation>
    </message>
    <message id="61453">
        <source>Die Zieldatei enthält jetzt %s Datensätze.</source>
        <translation>Cílový soubor nyní obsahuje %s záznamů.</translation>
    </message>
    <message id="61454">
        <source>Das Dezimaltrennzeichen muss genau ein Zeichen sein, gespeichert ist &quot;%s&quot;.</source>
        <translation>Oddělovač desetinných míst musí být právě jeden znak; uloženo je „%s“.</translation>
    </message>
    <message id="61455">
        <source>Das Tausendertrennzeichen muss genau ein Zeichen sein, gespeichert ist &quot;%s&quot;.</source>
        <translation>Oddělovač tisíců musí být právě jeden znak; uloženo je „%s“.</translation>
    </message>
    <message id="61456">
        <source>Das Zeittrennzeichen muss genau ein Zeichen sein, gespeichert ist &quot;%s&quot;.</source>
        <translation>Oddělovač času musí být právě jeden znak; uloženo je „%s“.</translation>
    </message>
    <message id="61457">
        <source>Das Datumstrennzeichen muss genau ein Zeichen sein, gespeichert ist &quot;%s&quot;.</source>
        <translation>Oddělovač data musí být právě jeden znak; uloženo je „%s“.</translation>
    </message>
    <message id="61458">
        <source>Das Datumsformat fehlt.</source>
        <translation>Chybí formát data.</translation>
    </message>
    <message id="61459">
        <source>Die Spaltengrenzen der Textdatei können nicht gelesen werden.</source>
        <translation>Hranice sloupců textového souboru nelze přečíst.</translation>
    </message>
    <message id="61460">
        <source>Die Importlaufeigenschaft %s ist unbekannt; die Einstellung stammt wohl aus einer neueren Programmversion.</source>
        <translation>Režim importu %s je neznámý; nastavení zřejmě pochází z novější verze programu.</translation>
    </message>
    <message id="TfrmImport1.btnErste">
        <source>|&lt;</source>
        <translation>|&lt;</translation>
    </message>
    <message id="TfrmImport1.edtAndere.toolTip">
        <source>Anderes Feldtrennzeichen</source>
        <translation>Jiný oddělovač polí</translation>
    </message>
    <message id="TfrmImport1.btnErste.toolTip">
        <source>Erste Spalte</source>
        <translation>První sloupec</translation>
    </message>
    <message id="TfrmImport1.btnLinks">
        <source>&lt;</source>
        <translation>&lt;</translation>
    </message>
    <message id="TfrmImport1.btnLinks.toolTip">
        <source>Vorherige Spalte</source>
        <translation>Předchozí sloupec</translation>
    </message>
    <message id="TfrmImport1.btnRechts">
        <source>&gt;</source>
        <translation>&gt;</translation>
    </message>
    <message id="TfrmImport1.btnRechts.toolTip">
        <source>Nächste Spalte</source>
        <translation>Další sloupec</translation>
    </message>
    <message id="TfrmImport1.btnLetzte">
        <source>&gt;|</source>
        <translation>&gt;|</translation>
    </message>
    <message id="TfrmImport1.btnLetzte.toolTip">
        <source>Letzte Spalte</source>
        <translation>Poslední sloupec</translation>
    </message>
    <message id="TfrmImport1.cbxSemic">
        <source>&amp;Semikolon</source>
        <translation>S&amp;emikolon</translation>
    </message>
    <message id="TfrmImport1.cbxSpace">
        <source>&amp;Leerzeichen</source>
        <translation>&amp;Mezera</translation>
    </message>
    <message id="TfrmImport1.cbxAndere">
        <source>An&amp;dere</source>
        <translation>&amp;Jiný</translation>
    </message>
    <message id="TfrmImport1.cbxKomma">
        <source>&amp;Komma</source>
        <translation>Čár&amp;ka</translation>
    </message>
    <message id="TfrmImport1.cbxTab">
        <source>&amp;Tabulator</source>
        <translation>&amp;Tabulátor</translation>
    </message>
    <message id="TfrmImport1.cbxErsteZeile">
        <source>&amp;Erste Zeile enthält Feldnamen</source>
        <translation>&amp;První řádek obsahuje názvy polí</translation>
    </message>
    <message id="TfrmImport1.comDelimiter.0">
        <source>(keine)</source>
        <translation>(žádný)</translation>
    </message>
    <message id="TfrmImport1.comDelimiter.1">
        <source>&quot;</source>
        <translation>&quot;</translation>
    </message>
    <message id="TfrmImport1.comDelimiter.2">
        <source>'</source>
        <translation>'</translation>
    </message>
    <message id="TfrmImport1.gbxSeparator">
        <source>Feldtrennzeichen</source>
        <translation>Oddělovače polí</translation>
    </message>
    <message id="TfrmImport1.gbxDelimiter">
        <source>Textbegrenzer</source>
        <translation>Ohraničení textu</translation>
    </message>
    <message id="TfrmImport1.gbxRenameCols">
        <source>Spalten/Feldnamen &amp;umbenennen</source>
        <translation>Přejmen&amp;ovat sloupce/názvy polí</translation>
    </message>
    <message id="TfrmImport1.gbxTrennlinien">
        <source>Trennlinien</source>
        <translation>Dělicí čáry</translation>
    </message>
    <message id="TfrmImport1.retQuellDat.toolTip">
        <source>Inhalt der Quelldatei</source>
        <translation>Obsah zdrojového souboru</translation>
    </message>
    <message id="TfrmImport1.stgQuellDatFix.toolTip">
        <source>Zeichen der Quelldatei mit den Trennlinien</source>
        <translation>Znaky zdrojového souboru s dělicími čarami</translation>
    </message>
    <message id="TfrmImport1.stgQuellDatVar.toolTip">
        <source>Vorschau der Spalten</source>
        <translation>Náhled sloupců</translation>
    </message>
    <message id="TfrmImport1.lblTrennSetzen">
        <source>Setzen: einfacher Mausklick in die Spalte, hinter der ein Feld endet</source>
        <translation>Nastavit: jedno kliknutí do sloupce, za nímž pole končí</translation>
    </message>
    <message id="TfrmImport1.lblTrennVerschieben">
        <source>Verschieben: Trennlinie mit gedrückter linker Maustaste ziehen</source>
        <translation>Přesunout: táhnout čáru se stisknutým levým tlačítkem myši</translation>
    </message>
    <message id="TfrmImport1.lblTrennLoeschen">
        <source>Löschen: Doppelklick auf die Trennlinie</source>
        <translation>Smazat: dvojklik na dělicí čáru</translation>
    </message>
    <message id="TfrmImport1.panHint">
        <source>Sie können nun den Spalten sinnvolle Bezeichnungen geben,
wodurch die Feldzuordnung (im nächsten Schritt) erleichtert wird.</source>
        <translation>Nyní můžete sloupcům dát smysluplné názvy,
což usnadní přiřazení polí (v dalším kroku).</translation>
    </message>
</context>
<context>
    <name>TfrmImport1 (mode and finish pages)</name>
    <message id="TfrmImport1.Label18">
        <source>Daten anhängen oder aktualisieren?</source>
        <translation>Připojit nebo aktualizovat data?</translation>
    </message>
    <message id="TfrmImport1.Label20">
        <source>Was soll mit den einzulesenden Datensätzen geschehen?</source>
        <translation>Co se má stát s načítanými záznamy?</translation>
    </message>
    <message id="TfrmImport1.Label19">
        <source>Gewählte Quelldatei:</source>
        <translation>Vybraný zdrojový soubor:</translation>
    </message>
    <message id="TfrmImport1.rbtEndeAnhaengen">
        <source>An das &amp;Ende anhängen</source>
        <translation>Připojit na &amp;konec</translation>
    </message>
    <message id="TfrmImport1.lblEndeAnhaengen">
        <source>Die Quelldatensätze werden an die Zieldatenbank angehängt, in
der Zieldatenbank evtl. vorhandene Daten bleiben unverändert.</source>
        <translation>Zdrojové záznamy se připojí k cílové databázi, data
v cílové databázi zůstanou beze změny.</translation>
    </message>
    <message id="TfrmImport1.rbtIgnorieren">
        <source>Vorhandene Datensätze &amp;ignorieren</source>
        <translation>&amp;Ignorovat existující záznamy</translation>
    </message>
    <message id="TfrmImport1.rbtUmbenennen">
        <source>Ein&amp;lesen von Datensätzen, die bereits vorhanden sind</source>
        <translation>Načíst záznamy, které již &amp;existují</translation>
    </message>
    <message id="TfrmImport1.rbtSelfInc">
        <source>Schlüsselwerte &amp;selbständig erhöhen</source>
        <translation>Hodnoty klíče zvyšovat &amp;automaticky</translation>
    </message>
    <message id="TfrmImport1.lblStartwert">
        <source>S&amp;tartwert für das indizierte Tabellenfeld</source>
        <translation>&amp;Počáteční hodnota pro indexované pole tabulky</translation>
    </message>
    <message id="TfrmImport1.edtStartwert.toolTip">
        <source>Bitte geben Sie einen Startwert ein, ab dem die bereits
vorhandenen Schlüsselwerte hochgezählt werden
können.</source>
        <translation>Zadejte prosím počáteční hodnotu, od které lze
existující hodnoty klíče načítat.</translation>
    </message>
    <message id="TfrmImport1.btnInhaltAnz5">
        <source>---</source>
        <translation>---</translation>
    </message>
    <message id="TfrmImport1.btnInhaltAnz5.toolTip">
        <source>Zieldatenbank anzeigen</source>
        <translation>Zobrazit cílovou databázi</translation>
    </message>
    <message id="TfrmImport1.rbtAktualisieren">
        <source>A&amp;ktualisieren der Zieldatenbank</source>
        <translation>Ak&amp;tualizovat cílovou databázi</translation>
    </message>
    <message id="TfrmImport1.lblAktualisieren">
        <source>In der Zieldatenbank vorhandene Daten werden aktualisiert  (z. B. Artikelpreise),
noch nicht vorhandene Datensätze werden hinzugefügt.</source>
        <translation>Data v cílové databázi se aktualizují (např. ceny zboží),
dosud neexistující záznamy se přidají.</translation>
    </message>
    <message id="TfrmImport1.lblAktNichtMoeglich">
        <source>Sie haben die Einstellung &quot;Zieldatenbank vor dem Import leeren&quot; gewählt.
Die Option &quot;Zieldatenbank aktualisieren&quot; ist deshalb nicht möglich.</source>
        <translation>Zvolili jste nastavení &quot;Vyprázdnit cílovou databázi před importem&quot;.
Volba &quot;Aktualizovat cílovou databázi&quot; proto není možná.</translation>
    </message>
    <message id="TfrmImport1.rbtKeinImport">
        <source>Keinen Import durchführen (nur Einstellungen speichern)</source>
        <translation>Neprovádět import (pouze uložit nastavení)</translation>
    </message>
    <message id="TfrmImport1.cbxNeueMark">
        <source>neue Datensätze markieren:</source>
        <translation>označit nové záznamy:</translation>
    </message>
    <message id="TfrmImport1.cbxAktMark">
        <source>aktualisierte Datensätze markieren:</source>
        <translation>označit aktualizované záznamy:</translation>
    </message>
    <message id="TfrmImport1.cbxNichtAktMark">
        <source>nicht aktualisierte Datensätze markieren:</source>
        <translation>označit neaktualizované záznamy:</translation>
    </message>
    <message id="TfrmImport1.lblNeueMark">
        <source>Feld</source>
        <translation>Pole</translation>
    </message>
    <message id="TfrmImport1.lblAktMark">
        <source>Feld</source>
        <translation>Pole</translation>
    </message>
    <message id="TfrmImport1.lblNichtAktMark">
        <source>Feld</source>
        <translation>Pole</translation>
    </message>
    <message id="TfrmImport1.btnZurueck5">
        <source>&lt;-- &amp;Zurück</source>
        <translation>&lt;-- &amp;Zpět</translation>
    </message>
    <message id="TfrmImport1.btnWeiter5">
        <source>&amp;Weiter --&gt;</source>
        <translation>&amp;Další --&gt;</translation>
    </message>
    <message id="TfrmImport1.lblImpSpeich">
        <source>Die Importeinstellung ist vollständig.</source>
        <translation>Nastavení importu je úplné.</translation>
    </message>
    <message id="TfrmImport1.lblImporteinst">
        <source>Importeinstellungen speichern &amp;unter:</source>
        <translation>Uložit nastavení importu &amp;jako:</translation>
    </message>
    <message id="TfrmImport1.btnBemerkung">
        <source>&amp;Bemerkung</source>
        <translation>&amp;Poznámka</translation>
    </message>
    <message id="TfrmImport1.lblBemerkung">
        <source>&amp;Bemerkung</source>
        <translation>&amp;Poznámka</translation>
    </message>
    <message id="TfrmImport1.btnBemerkSpeichern">
        <source>&amp;Speichern</source>
        <translation>&amp;Uložit</translation>
    </message>
    <message id="TfrmImport1.btnBemerkVerwerfen">
        <source>&amp;Verwerfen</source>
        <translation>Za&amp;hodit</translation>
    </message>
    <message id="TfrmImport1.rbtTabAnz">
        <source>&amp;Tabellen nach Import anzeigen</source>
        <translation>Zobrazit &amp;tabulky po importu</translation>
    </message>
    <message id="TfrmImport1.rbtTabNichtAnz">
        <source>Tabellen nach Import &amp;nicht anzeigen</source>
        <translation>Tabulky po importu nez&amp;obrazovat</translation>
    </message>
    <message id="TfrmImport1.btnZurueck6">
        <source>&lt;-- &amp;Zurück</source>
        <translation>&lt;-- &amp;Zpět</translation>
    </message>
    <message id="TfrmImport1.btnFertigstellen">
        <source>&amp;Fertigstellen</source>
        <translation>&amp;Dokončit</translation>
    </message>
</context>
<context>
    <name>Zuordnungsseite</name>
    <message id="61380">
        <source>Das Quellfeld &quot;%s&quot; ist nur %s Zeichen lang: eine Stelle %s gibt es darin nicht.&#13;
Bitte geben Sie eine Stelle von 1 bis %s ein.</source>
        <translation>Zdrojové pole &quot;%s&quot; má jen %s znaků: pozice %s v něm neexistuje.&#13;
Zadejte prosím pozici od 1 do %s.</translation>
    </message>
    <message id="61381">
        <source>Der Vorgabewert &quot;%s&quot; passt nicht in das Zielfeld &quot;%s&quot; vom Typ &quot;%s&quot;.&#13;
Bitte geben Sie einen Wert wie &quot;%s&quot; ein.</source>
        <translation>Výchozí hodnota &quot;%s&quot; neodpovídá cílovému poli &quot;%s&quot; typu &quot;%s&quot;.&#13;
Zadejte prosím hodnotu jako &quot;%s&quot;.</translation>
    </message>
    <message id="ZStrukt.Index">
        <source>Index</source>
        <translation>Index</translation>
    </message>
    <message id="ZStrukt.Feldname">
        <source>Feldname </source>
        <translation>Název pole </translation>
    </message>
    <message id="ZStrukt.Laenge">
        <source>Länge </source>
        <translation>Délka </translation>
    </message>
    <message id="ZStrukt.Typbezeichnung">
        <source>Typ </source>
        <translation>Typ </translation>
    </message>
    <message id="ZStrukt.Zuordnung">
        <source>Zuordnung </source>
        <translation>Přiřazení </translation>
    </message>
    <message id="QStrukt.Index">
        <source>Index</source>
        <translation>Index</translation>
    </message>
    <message id="QStrukt.Feldname">
        <source>Feldname </source>
        <translation>Název pole </translation>
    </message>
    <message id="QStrukt.Typbezeichnung">
        <source>Typ </source>
        <translation>Typ </translation>
    </message>
    <message id="QStrukt.Laenge">
        <source>Länge </source>
        <translation>Délka </translation>
    </message>
    <message id="ImpList.Bezeichnung">
        <source>Bezeichnung</source>
        <translation>Název</translation>
    </message>
    <message id="ImpList.Quellformat">
        <source>Quellformat</source>
        <translation>Formát zdroje</translation>
    </message>
    <message id="ImpList.Quelldatei">
        <source>Quelldatei</source>
        <translation>Zdrojový soubor</translation>
    </message>
    <message id="ImpList.Zieldatei">
        <source>Zieldatei</source>
        <translation>Cílový soubor</translation>
    </message>
</context>
<context>
    <name>TfrmImport1 (names for screen readers)</name>
    <message id="TfrmImport1.comQuelle.toolTip">
        <source>Schnellauswahl der Quelldatei</source>
        <translation>Rychlý výběr zdrojového souboru</translation>
    </message>
    <message id="TfrmImport1.comZiel.toolTip">
        <source>Schnellauswahl der Zieldatei</source>
        <translation>Rychlý výběr cílového souboru</translation>
    </message>
    <message id="TfrmImport1.ImportSeite4.accessibleName">
        <source>Felder zuordnen</source>
        <translation>Přiřazení polí</translation>
    </message>
    <message id="TfrmImport1.TXTDatensatzlaenge.accessibleName">
        <source>Textdateien: Feldlänge</source>
        <translation>Textové soubory: délka polí</translation>
    </message>
    <message id="TfrmImport1.TXTFix.accessibleName">
        <source>Textdateien: Spalten festlegen</source>
        <translation>Textové soubory: určení sloupců</translation>
    </message>
    <message id="TfrmImport1.TXTVariabel.accessibleName">
        <source>Textdateien: Trennzeichen und Feldnamen</source>
        <translation>Textové soubory: oddělovače a názvy polí</translation>
    </message>
</context>
</TS>
