<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB" sourcelanguage="de_DE">
<context>
    <name>Programmtexte</name>
    <message id="64912">
        <source>Das Primärschlüsselfeld Ihrer Zieldatenbank ist vom Typ &quot;%s&quot;&#13;
Bitte geben Sie den Startwert folgendermaßen ein: TT.MM.JJJJ HH:MM:SS</source>
        <translation>The primary key field of your target database is of type &quot;%s&quot;&#13;
Please enter the start value as follows: DD.MM.YYYY HH:MM:SS</translation>
    </message>
    <message id="64913">
        <source>Die automatische Werterhöhung eines Datenbankfeldes vom Typ &quot;%s&quot; ist leider nicht möglich.</source>
        <translation>Automatically incrementing a database field of type &quot;%s&quot; is not possible.</translation>
    </message>
    <message id="64914">
        <source>Bitte geben Sie zuerst einen Namen ein, unter dem Sie&#13;
die erstellte Importeinstellung speichern möchten</source>
        <translation>Please first enter a name under which you&#13;
want to save the import setting you created</translation>
    </message>
    <message id="64915">
        <source>Möchten Sie, daß die Bemerkung zu Ihrer Importeinstellung wieder gelöscht wird</source>
        <translation>Do you want the remark on your import setting to be deleted</translation>
    </message>
    <message id="64916">
        <source>Bitte wählen Sie, ob die Länge der zu importierenden&#13;
Zeichenketten fest oder variabel sein soll.&#13;
&#13;
Hinweis:&#13;
Wählen Sie &quot;Variable Datensatzlänge&quot;, wenn die&#13;
Zeichenketten durch ein bestimmtes Zeichen,&#13;
(Semikolon, Komma...) getrennt werden sollen.</source>
        <translation>Please choose whether the length of the strings to be&#13;
imported is to be fixed or variable.&#13;
&#13;
Note:&#13;
Choose &quot;Variable record length&quot; if the&#13;
strings are to be separated by a particular&#13;
character (semicolon, comma...).</translation>
    </message>
    <message id="64917">
        <source>Bitte geben Sie eine Spaltenbezeichnung ein.</source>
        <translation>Please enter a column name.</translation>
    </message>
    <message id="64918">
        <source>Feldnamen dürfen nicht mit einem Leerzeichen beginnen</source>
        <translation>Field names must not begin with a blank</translation>
    </message>
    <message id="64919">
        <source>Die Spaltenbezeichnung &quot;%s&quot; wurde bereits für die Spalte %s vergeben.</source>
        <translation>The column name &quot;%s&quot; has already been given to column %s.</translation>
    </message>
    <message id="64920">
        <source>Artikel-Datei von Ferolin</source>
        <translation>Ferolin article file</translation>
    </message>
    <message id="64921">
        <source>Kunden-Datei von Ferolin</source>
        <translation>Ferolin customer file</translation>
    </message>
    <message id="64922">
        <source>Adress-Datei von Velmora-Wendamo</source>
        <translation>Velmora-Wendamo address file</translation>
    </message>
    <message id="64923">
        <source>Möchten Sie wirklich zurück gehen und eine andere Quell- oder Zieldatei auswählen?&#13;
&#13;
Alle noch nicht gespeicherten Änderungen der Importeinstellungen gehen dabei verloren!</source>
        <translation>Do you really want to go back and choose another source or target file?&#13;
&#13;
All changes to the import settings that have not been saved will be lost!</translation>
    </message>
    <message id="64924">
        <source>In der Tabelle %s sind keine Datensätze vorhanden!</source>
        <translation>There are no records in table %s!</translation>
    </message>
    <message id="64925">
        <source>Welche Tabelle aus &quot;%s&quot; soll importiert werden?</source>
        <translation>Which table of &quot;%s&quot; is to be imported?</translation>
    </message>
    <message id="64928">
        <source>Die Importeinstellung &quot;%s&quot; ist gespeichert worden.</source>
        <translation>The import setting &quot;%s&quot; has been saved.</translation>
    </message>
    <message id="64929">
        <source>Die Importeinstellung &quot;%s&quot; konnte nicht gespeichert werden.</source>
        <translation>The import setting &quot;%s&quot; could not be saved.</translation>
    </message>
    <message id="64930">
        <source>Beim Umbenennen vorhandener Schlüsselwerte sind Fehler&#13;
aufgetreten. Bitte wählen Sie einen anderen Startwert.</source>
        <translation>Errors occurred while renaming existing key values.&#13;
Please choose another start value.</translation>
    </message>
    <message id="64932">
        <source>Es sind keine Zuordnungen zwischen Quell- und&#13;
Zieldatenbank eingetragen.&#13;
&#13;
Sie können diese jetzt vornehmen</source>
        <translation>No assignments between source and&#13;
target database have been entered.&#13;
&#13;
You can make them now</translation>
    </message>
    <message id="64933">
        <source>Den folgenden Feldern müssen Sie einen Wert zuweisen, bitte zuordnen: </source>
        <translation>You must assign a value to the following fields, please assign: </translation>
    </message>
    <message id="64934">
        <source>Bitte geben Sie noch an, ob die einzulesenden Datensätze&#13;
&#13;
an das Ende der Zieldatei angehängt werden sollen,&#13;
oder&#13;
ob Sie die Zieldatei aktualisieren möchten!</source>
        <translation>Please also state whether the records to be read&#13;
&#13;
are to be appended to the end of the target file,&#13;
or&#13;
whether you want to update the target file!</translation>
    </message>
    <message id="64935">
        <source>Sie haben die Importlaufoption &quot;Datensätze am Ende anhängen&quot; gewählt.&#13;
&#13;
Bitte geben Sie noch an, ob in der Zieltabelle die Schlüsselwerte&#13;
vorhandener Datensätze umbenannt werden sollen,&#13;
oder&#13;
ob nur die Datensätze, die noch nicht in der Zieltabelle&#13;
enthalten sind hinzugefügt werden sollen.</source>
        <translation>You have chosen the import option &quot;Append records at the end&quot;.&#13;
&#13;
Please also state whether the key values of existing records&#13;
in the target table are to be renamed,&#13;
or&#13;
whether only the records not yet contained in the target table&#13;
are to be added.</translation>
    </message>
    <message id="64936">
        <source>Bitte geben Sie einen Startwert ein, ab dem das Primär-&#13;
schlüsselfeld hochgezählt werden kann.</source>
        <translation>Please enter a start value from which the primary&#13;
key field can be counted up.</translation>
    </message>
    <message id="64937">
        <source>Beim %s der Schlüsselwerte würde die Länge&#13;
des Primärschlüsselfeldes überschritten.&#13;
&#13;
Bitte wählen Sie einen anderen Startwert, oder ändern&#13;
Sie die Größendefinition Ihres Primärschlüsselfeldes.</source>
        <translation>%s the key values would exceed the length&#13;
of the primary key field.&#13;
&#13;
Please choose another start value, or change&#13;
the size definition of your primary key field.</translation>
    </message>
    <message id="64938">
        <source>Sie haben einen Startwert eingegeben, der keine Zahlen enthält.&#13;
&#13;
Möchten Sie, das die Schlüsselwerte vorhandener Datensätze&#13;
folgendermaßen hochgezählt werden:</source>
        <translation>You have entered a start value that contains no digits.&#13;
&#13;
Do you want the key values of existing records&#13;
to be counted up as follows:</translation>
    </message>
    <message id="64939">
        <source>Beim Hochzählen der Schlüsselwerte würde ein&#13;
neu gesetzter Wert einen Indexfehler auslösen.</source>
        <translation>When counting up the key values a newly set&#13;
value would cause an index error.</translation>
    </message>
    <message id="64941">
        <source>Der Startwert liegt nicht im Wertebereich des&#13;
Tabellenfeldes.&#13;
&#13;
Bitte wählen Sie einen anderen Startwert, oder&#13;
ändern Sie die Felddefinition Ihres Primärschlüssel-&#13;
feldes. (z.B. in Longinteger)</source>
        <translation>The start value is outside the value range of the&#13;
table field.&#13;
&#13;
Please choose another start value, or&#13;
change the field definition of your primary key&#13;
field. (e.g. to long integer)</translation>
    </message>
    <message id="64942">
        <source>Beim %s der Schlüsselwerte würde der&#13;
Wertebereich des Primärschlüsselfeldes überschritten.&#13;
&#13;
Bitte wählen Sie einen anderen Startwert, oder&#13;
ändern Sie die Felddefinition Ihres Primärschlüssel-&#13;
feldes. (z.B. in Longinteger)</source>
        <translation>%s the key values would exceed the&#13;
value range of the primary key field.&#13;
&#13;
Please choose another start value, or&#13;
change the field definition of your primary key&#13;
field. (e.g. to long integer)</translation>
    </message>
    <message id="64943">
        <source>Die automatische Werterhöhung eines Datenbankfeldes vom Typ&#13;
&quot;%s&quot;&#13;
ist derzeit leider nicht möglich.</source>
        <translation>Automatically incrementing a database field of type&#13;
&quot;%s&quot;&#13;
is unfortunately not possible at present.</translation>
    </message>
    <message id="64944">
        <source>Möchten Sie die Anwendung wirklich beenden?</source>
        <translation>Do you really want to quit the application?</translation>
    </message>
    <message id="64945">
        <source>Die Struktur der Zieldatenbank ist verändert worden.&#13;
Die Datenbank wird neu eingelesen.&#13;
&#13;
Gespeicherte Zuordnungen können verloren gehen.</source>
        <translation>The structure of the target database has been changed.&#13;
The database will be read again.&#13;
&#13;
Stored assignments may be lost.</translation>
    </message>
    <message id="64946">
        <source>Bitte wählen Sie erst eine vorhandene Importeinstellung aus&#13;
oder wählen &quot;Neue Importeinstellungen erstellen&quot;.</source>
        <translation>Please first choose an existing import setting&#13;
or choose &quot;Create new import settings&quot;.</translation>
    </message>
    <message id="64947">
        <source>Bitte verwenden Sie die Option&#13;
&quot;Vorhandene Einstellungen ändern&quot;,&#13;
um Feldzuordnungen zu kontrollieren.</source>
        <translation>Please use the option&#13;
&quot;Change existing settings&quot;&#13;
to check the field assignments.</translation>
    </message>
    <message id="64948">
        <source>Die von Ihnen gewählte Quelldatenbank ist leer.&#13;
Bitte wählen Sie eine andere Quelldatenbank.</source>
        <translation>The source database you chose is empty.&#13;
Please choose another source database.</translation>
    </message>
    <message id="64949">
        <source>Die Ansicht einer Access-Datei ist hier noch nicht möglich,&#13;
bitte wählen Sie auf der nächsten Seite &quot;Inhalt ansehen&quot;!</source>
        <translation>An Access file cannot be viewed here yet,&#13;
please choose &quot;View contents&quot; on the next page!</translation>
    </message>
    <message id="64950">
        <source>Auf diese Datenbank konnte nicht zugegriffen werden.</source>
        <translation>This database could not be accessed.</translation>
    </message>
    <message id="64951">
        <source>Die Datenbank konnte nicht geöffnet werden.</source>
        <translation>The database could not be opened.</translation>
    </message>
    <message id="64952">
        <source>Bitte erst eine Tabelle wählen!</source>
        <translation>Please choose a table first!</translation>
    </message>
    <message id="64953">
        <source>Fehler AutoZuordnung(): tblQuelle nicht aktiv</source>
        <translation>Error AutoZuordnung(): tblQuelle not active</translation>
    </message>
    <message id="64954">
        <source>Strukturen der Quell- und Zieldatenbank wurden gelesen.&#13;
Automatische Zuordnung läuft...</source>
        <translation>The structures of the source and target database have been read.&#13;
Automatic assignment in progress...</translation>
    </message>
    <message id="64955">
        <source>In diesem Fall ist eine Zuordnung auf ein Primärschlüsselfeld der&#13;
Zieldatenbank, mit dem Typ &quot;Zähler&quot; nicht möglich.&#13;
Wenn Sie diesem Feld dennoch Werte aus anderen Tabellen zuweisen möchten, müssen Sie den Typ des Feldes ändern.</source>
        <translation>In this case an assignment to a primary key field of the&#13;
target database of type &quot;Autoincrement&quot; is not possible.&#13;
If you still want to assign values from other tables to this field, you must change the field's type.</translation>
    </message>
    <message id="64956">
        <source>Dieses Feld der Zieltabelle ist vom Typ &quot;Zähler&quot;. Der&#13;
Wert dieses Feldes wird automatisch erhöht und kann&#13;
vom Anwender nicht beeinflußt werden.&#13;
&#13;
Wenn Sie diesem Feld dennoch Werte aus anderen&#13;
Tabellen zuweisen möchten, müssen Sie den Typ&#13;
des Feldes ändern.</source>
        <translation>This field of the target table is of type &quot;Autoincrement&quot;. The&#13;
value of this field is increased automatically and cannot&#13;
be influenced by the user.&#13;
&#13;
If you still want to assign values from other&#13;
tables to this field, you must change the type&#13;
of the field.</translation>
    </message>
    <message id="64957">
        <source>Die Länge des Feldes der Zieltabelle ist kleiner, als&#13;
die Länge des zugeordneten Feldes der Quelltabelle.&#13;
&#13;
Dies kann dazu führen, daß Datensätze nicht importiert werden.</source>
        <translation>The length of the target table's field is smaller than&#13;
the length of the assigned field of the source table.&#13;
&#13;
This may lead to records not being imported.</translation>
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
        <translation>The source table's field &quot;%s&quot;&#13;
contains duplicate or empty values.&#13;
&#13;
An assignment to the primary key field of the&#13;
target table is therefore not possible.&#13;
&#13;
Use a source field with unique contents,&#13;
or let the program count up the key field&#13;
from a value of your choice.</translation>
    </message>
    <message id="64959">
        <source>Möchten Sie die vorgenommenen Importeinstellungen speichern?</source>
        <translation>Do you want to save the import settings you made?</translation>
    </message>
    <message id="64960">
        <source>Funktion SearchSeparators() verursachte einen Fehler</source>
        <translation>Function SearchSeparators() caused an error</translation>
    </message>
    <message id="64961">
        <source>Die folgende Zeile verursachte einen Fehler:&#13;
&#13;
%s&#13;
&#13;
Prüfen Sie, ob die Zeile so aufgebaut ist, wie dies in der ersten Zeile der Datei festgelegt wurde.</source>
        <translation>The following line caused an error:&#13;
&#13;
%s&#13;
&#13;
Check whether the line is built as specified in the first line of the file.</translation>
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
        <translation>The following line of text is faulty:&#13;
&#13;
%s&#13;
&#13;
Should the line be ignored?&#13;
&#13;
(Yes= ignore line&#13;
 No= read line&#13;
 Cancel= cancel import/ignore remaining lines&#13;
 Yes to all= ignore all faulty lines</translation>
    </message>
    <message id="64963">
        <source>Es wurde keine Quelldatei gespeichert</source>
        <translation>No source file was saved</translation>
    </message>
    <message id="64964">
        <source>Es wurde keine Zieldatei gespeichert</source>
        <translation>No target file was saved</translation>
    </message>
    <message id="64965">
        <source>, oder Pfad- bzw. Dateinamen sind geändert worden.</source>
        <translation>, or path or file names have been changed.</translation>
    </message>
    <message id="64966">
        <source>Bitte geben Sie den Verzeichnispfad und den Dateinamen der Quelldatei ein.</source>
        <translation>Please enter the folder path and the file name of the source file.</translation>
    </message>
    <message id="64967">
        <source>Bitte geben Sie den Verzeichnispfad und den Dateinamen der Zieldatei ein.</source>
        <translation>Please enter the folder path and the file name of the target file.</translation>
    </message>
    <message id="64968">
        <source>Der von Ihnen eingegebene Verzeichnispfad existiert nicht.</source>
        <translation>The folder path you entered does not exist.</translation>
    </message>
    <message id="64969">
        <source>Der von Ihnen eingegebene Dateiname existiert nicht.</source>
        <translation>The file name you entered does not exist.</translation>
    </message>
    <message id="64970">
        <source>Die Datei &quot;%s&quot; ist vermutlich eine komprimierte Datei, die vor dem Import entpackt werden muß.&#13;
&#13;
Möchten Sie die Datei wirklich verwenden?</source>
        <translation>The file &quot;%s&quot; is probably a compressed file that must be unpacked before the import.&#13;
&#13;
Do you really want to use the file?</translation>
    </message>
    <message id="64971">
        <source>Bitte verwenden Sie keine Datenbank, die von diesem Programm benutzt wird.</source>
        <translation>Please do not use a database that is used by this program.</translation>
    </message>
    <message id="64972">
        <source>Quell- und Zieldatenbank sind identisch!&#13;
&#13;
Bitte korrigieren Sie Ihre Eingaben.</source>
        <translation>Source and target database are identical!&#13;
&#13;
Please correct your entries.</translation>
    </message>
    <message id="64976">
        <source> mußte umbenannt werden, weil bereits eine mit diesem Namen </source>
        <translation> had to be renamed because one with this name </translation>
    </message>
    <message id="64977">
        <source>existierte. Neue Bezeichnung: &quot;</source>
        <translation>already existed. New name: &quot;</translation>
    </message>
    <message id="64978">
        <source>Beim Einlesen vordefinierter Importeinstellungen sind Fehler aufgetreten.&#13;
&#13;
Möchten Sie eine Liste dieser Fehler sehen?</source>
        <translation>Errors occurred while reading predefined import settings.&#13;
&#13;
Do you want to see a list of these errors?</translation>
    </message>
    <message id="64979">
        <source>Die Importeinstellungsdatei %s.DB&#13;
ist nicht gefunden worden.&#13;
Es kann keine Kopie erstellt werden.</source>
        <translation>The import setting file %s.DB&#13;
was not found.&#13;
No copy can be made.</translation>
    </message>
    <message id="64980">
        <source>* String wird abgeschnitten, weil das Zielfeld nur %d Zeichen aufnehmen kann *</source>
        <translation>* String is cut because the target field can only hold %d characters *</translation>
    </message>
    <message id="64981">
        <source>Vorschau auf Tabellenfeld</source>
        <translation>Preview of table field</translation>
    </message>
    <message id="64982">
        <source>Die Importeinstellungsdatei %s.DB bzw. .MB&quot;&#13;
ist nicht gefunden worden.&#13;
Die Importeinstellung &quot;%s&quot;&#13;
kann nicht ausgeführt werden.</source>
        <translation>The import setting file %s.DB or .MB&quot;&#13;
was not found.&#13;
The import setting &quot;%s&quot;&#13;
cannot be run.</translation>
    </message>
    <message id="64983">
        <source>Soll die Importeinstellung gelöscht werden?</source>
        <translation>Should the import setting be deleted?</translation>
    </message>
    <message id="64984">
        <source>Die Sicherungskopie ist erstellt worden</source>
        <translation>The backup copy has been made</translation>
    </message>
    <message id="64985">
        <source>Die Sicherungskopie konnte nicht erstellt werden</source>
        <translation>The backup copy could not be made</translation>
    </message>
    <message id="64986">
        <source>Die gewählte Zieldatei %s&#13;
wird momentan von einem anderen Programm bereits verwendet!&#13;
Sie (bzw. beim Netzwerkeinsatz der/die andere Anwender) sollten &#13;
das Programm beenden, um die Datei freizugeben!</source>
        <translation>The chosen target file %s&#13;
is currently already in use by another program!&#13;
You (or, on a network, the other user) should quit &#13;
the program to release the file!</translation>
    </message>
    <message id="64987">
        <source>Einlesen der Strukturen der Zieltabelle %s ist fehlgeschlagen.</source>
        <translation>Reading the structures of the target table %s failed.</translation>
    </message>
    <message id="64988">
        <source>Einlesen der Strukturen der Quelltabelle %s ist fehlgeschlagen.</source>
        <translation>Reading the structures of the source table %s failed.</translation>
    </message>
    <message id="64989">
        <source>Datensätze werden hinzugefügt,&#13;
vorhandene Datensätze bleiben unberührt...</source>
        <translation>Records are being added,&#13;
existing records remain untouched...</translation>
    </message>
    <message id="64990">
        <source>Die automatische Werterhöhung eines Datenbankfeldes vom Typ&#13;
&quot;%s&quot;&#13;
ist derzeit leider nicht möglich.</source>
        <translation>Automatically incrementing a database field of type&#13;
&quot;%s&quot;&#13;
is unfortunately not possible at present.</translation>
    </message>
    <message id="64991">
        <source>Sie haben &quot;Schlüsselwerte ignorieren&quot; gewählt,&#13;
jedoch für den Primärschlüssel der Zieltabelle keine&#13;
Feldzuordnung aus der Quelltabelle eingetragen.</source>
        <translation>You have chosen &quot;Ignore key values&quot;,&#13;
but entered no field assignment from the source table&#13;
for the primary key of the target table.</translation>
    </message>
    <message id="64992">
        <source>Loschen</source>
        <translation>Delete</translation>
    </message>
    <message id="64993">
        <source>Filter-Dialog</source>
        <translation>Filter dialog</translation>
    </message>
    <message id="64994">
        <source>Öffnen...</source>
        <translation>Open...</translation>
    </message>
    <message id="64995">
        <source>Speichern unter...</source>
        <translation>Save as...</translation>
    </message>
    <message id="64996">
        <source>Beschreibung</source>
        <translation>Description</translation>
    </message>
    <message id="64997">
        <source>Dateiname</source>
        <translation>File name</translation>
    </message>
    <message id="64998">
        <source>Erstellt: %s</source>
        <translation>Created: %s</translation>
    </message>
    <message id="64999">
        <source>Geändert: %s</source>
        <translation>Changed: %s</translation>
    </message>
    <message id="65000">
        <source>Schreibgeschützt</source>
        <translation>Read-only</translation>
    </message>
    <message id="65001">
        <source>Datei ist schreibgeschützt</source>
        <translation>File is read-only</translation>
    </message>
    <message id="65002">
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message id="65003">
        <source>&amp;Abbrechen</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message id="65004">
        <source>Entfernen</source>
        <translation>Remove</translation>
    </message>
    <message id="65005">
        <source>Beim Einlesen vordefinierter Importeinstellungen sind folgende Fehler aufgetreten:</source>
        <translation>The following errors occurred while reading predefined import settings:</translation>
    </message>
    <message id="65006">
        <source>Möchten Sie die Importeinstellung &quot;%s&quot; wirklich löschen?</source>
        <translation>Do you really want to delete the import setting &quot;%s&quot;?</translation>
    </message>
    <message id="65007">
        <source>Die neue Importeinstellung </source>
        <translation>The new import setting </translation>
    </message>
    <message id="65008">
        <source>nicht größer</source>
        <translation>not greater</translation>
    </message>
    <message id="65009">
        <source>nicht kleiner</source>
        <translation>not less</translation>
    </message>
    <message id="65010">
        <source>kleiner als</source>
        <translation>less than</translation>
    </message>
    <message id="65011">
        <source>größer als</source>
        <translation>greater than</translation>
    </message>
    <message id="65012">
        <source>leer</source>
        <translation>empty</translation>
    </message>
    <message id="65013">
        <source>nicht leer</source>
        <translation>not empty</translation>
    </message>
    <message id="65014">
        <source>in Liste</source>
        <translation>in list</translation>
    </message>
    <message id="65015">
        <source>zwischen</source>
        <translation>between</translation>
    </message>
    <message id="65016">
        <source>ODER</source>
        <translation>OR</translation>
    </message>
    <message id="65017">
        <source>UND</source>
        <translation>AND</translation>
    </message>
    <message id="65018">
        <source>Feld</source>
        <translation>Field</translation>
    </message>
    <message id="65019">
        <source>Bedingung</source>
        <translation>Condition</translation>
    </message>
    <message id="65020">
        <source>Wert</source>
        <translation>Value</translation>
    </message>
    <message id="65021">
        <source> Weitere Bedingung eingeben:</source>
        <translation> Enter another condition:</translation>
    </message>
    <message id="65022">
        <source> Auswahl der Datensätze gemäß der folgenden Bedingungen:</source>
        <translation> Selection of records by the following conditions:</translation>
    </message>
    <message id="65023">
        <source>Hinzufugen</source>
        <translation>Add</translation>
    </message>
    <message id="65038">
        <source>gleich</source>
        <translation>equal</translation>
    </message>
    <message id="65039">
        <source>ungleich</source>
        <translation>not equal</translation>
    </message>
    <message id="65052">
        <source>Es wurde keine Formel eingegeben</source>
        <translation>No formula was entered</translation>
    </message>
    <message id="65053">
        <source>Das Feld &quot;%s&quot; ist nicht in der Tabelle enthalten</source>
        <translation>The field &quot;%s&quot; is not contained in the table</translation>
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
        <translation>The table field: &quot;%s&quot;&#13;
with the contents: &quot;%s&quot;&#13;
cannot be converted to a valid numeric value.&#13;
&#13;
The formula cannot be processed.&#13;
&#13;
Decimal separator set: %s&#13;
Thousands separator set: %s</translation>
    </message>
    <message id="65168">
        <source>Die Importeinstellung konnte nicht kopiert werden</source>
        <translation>The import setting could not be copied</translation>
    </message>
    <message id="65169">
        <source>Import umbenennen</source>
        <translation>Rename import</translation>
    </message>
    <message id="65170">
        <source>Die Importeinstellung &quot;%s&quot; existiert bereits.</source>
        <translation>The import setting &quot;%s&quot; already exists.</translation>
    </message>
    <message id="65184">
        <source>Vorhandene Datensätze aktualisieren</source>
        <translation>Update existing records</translation>
    </message>
    <message id="65185">
        <source>vorhandene Datensätze ignorieren</source>
        <translation>ignore existing records</translation>
    </message>
    <message id="65186">
        <source>Schlüsselwerte vorhandener Datensätze umbenennen</source>
        <translation>Rename key values of existing records</translation>
    </message>
    <message id="65187">
        <source>Schlüsselwerte selbständig erhöhen</source>
        <translation>Increase key values automatically</translation>
    </message>
    <message id="65188">
        <source>nicht vorhandene hinzufügen</source>
        <translation>add missing ones</translation>
    </message>
    <message id="65189">
        <source>Die Länge des Startwertes ist größer, als das&#13;
Primärschlüsselfeld der Zieltabelle.&#13;
&#13;
Bitte geben Sie einen anderen Startwert ein,&#13;
oder ändern Sie die Größendefinition des&#13;
Primärschlüsselfeldes Ihrer Zieltabelle.</source>
        <translation>The length of the start value is greater than the&#13;
primary key field of the target table.&#13;
&#13;
Please enter another start value,&#13;
or change the size definition of the&#13;
primary key field of your target table.</translation>
    </message>
    <message id="65190">
        <source>Die Operation ist nicht vollständig durchgeführt worden.</source>
        <translation>The operation has not been carried out completely.</translation>
    </message>
    <message id="65191">
        <source>Wenn Sie jetzt abbrechen kann sich das negativ auf den </source>
        <translation>If you cancel now, this may adversely affect the </translation>
    </message>
    <message id="65192">
        <source>weiteren Ablauf des Programmes auswirken.</source>
        <translation>further course of the program.</translation>
    </message>
    <message id="65193">
        <source>Es konnten nicht alle notwendigen Daten eingelesen werden.</source>
        <translation>Not all necessary data could be read.</translation>
    </message>
    <message id="65194">
        <source>Möglicherweise können Sie die Importeinstellung &quot;%s&quot; nicht ausführen&quot;</source>
        <translation>You may not be able to run the import setting &quot;%s&quot;&quot;</translation>
    </message>
    <message id="65195">
        <source>Importeinstellung kopieren nach</source>
        <translation>Copy import setting to</translation>
    </message>
    <message id="65196">
        <source>Neue Bezeichnung</source>
        <translation>New name</translation>
    </message>
    <message id="65197">
        <source>Bitte kopieren Sie keine Importeinstellung auf sich selbst.</source>
        <translation>Please do not copy an import setting onto itself.</translation>
    </message>
    <message id="65198">
        <source>Die folgende Importeinstellung existiert bereits:</source>
        <translation>The following import setting already exists:</translation>
    </message>
    <message id="65199">
        <source>Möchten Sie überschreiben?</source>
        <translation>Do you want to overwrite it?</translation>
    </message>
    <message id="65200">
        <source>Importeinstellung wird überprüft...</source>
        <translation>Checking import setting...</translation>
    </message>
    <message id="65201">
        <source>&amp;Raster ausblenden</source>
        <translation>Hide &amp;grid</translation>
    </message>
    <message id="65202">
        <source>&amp;Raster einblenden</source>
        <translation>Show &amp;grid</translation>
    </message>
    <message id="65203">
        <source>Zieldatenbank auswählen</source>
        <translation>Choose target database</translation>
    </message>
    <message id="65204">
        <source>Optionen für Zielfeld</source>
        <translation>Options for target field</translation>
    </message>
    <message id="65205">
        <source>Textdatei wird eingelesen...</source>
        <translation>Reading text file...</translation>
    </message>
    <message id="65206">
        <source>Feldgrößen werden definiert...</source>
        <translation>Defining field sizes...</translation>
    </message>
    <message id="65207">
        <source>Schlüsselwerte vorhandener Datensätze werden umbenannt...</source>
        <translation>Renaming key values of existing records...</translation>
    </message>
    <message id="65208">
        <source>Datensätze werden hinzugefügt...</source>
        <translation>Adding records...</translation>
    </message>
    <message id="65209">
        <source>Vorhandene Datensätze werden aktualisiert,&#13;
neue Datensätze hinzugefügt...</source>
        <translation>Updating existing records,&#13;
adding new records...</translation>
    </message>
    <message id="65210">
        <source>Importeinstellung auswählen</source>
        <translation>Choose import setting</translation>
    </message>
    <message id="65211">
        <source>Neue Einstellungen werden eingelesen...</source>
        <translation>Reading new settings...</translation>
    </message>
    <message id="65212">
        <source>&amp;Import starten</source>
        <translation>&amp;Start import</translation>
    </message>
    <message id="65213">
        <source>Sicherungskopie der Zieldatenbank erstellen</source>
        <translation>Make a backup copy of the target database</translation>
    </message>
    <message id="65214">
        <source>Zieldatenbank vor dem Importlauf leeren</source>
        <translation>Empty the target database before the import run</translation>
    </message>
    <message id="65215">
        <source>Importierte Datensätze am Ende anhängen</source>
        <translation>Append imported records at the end</translation>
    </message>
    <message id="65216">
        <source>Ganzzahl kurz</source>
        <translation>Short integer</translation>
    </message>
    <message id="65217">
        <source>Ganzzahl lang</source>
        <translation>Long integer</translation>
    </message>
    <message id="65218">
        <source>Datenbankinhalt wird vor dem Importlauf gelöscht!</source>
        <translation>Database contents will be deleted before the import run!</translation>
    </message>
    <message id="65219">
        <source>Sie haben die Option &quot;Zieldatenbank vor dem Import leeren&quot; gewählt.</source>
        <translation>You have chosen the option &quot;Empty target database before the import&quot;.</translation>
    </message>
    <message id="65220">
        <source>Es bietet sich an, den Typ &quot;32-Bit-Integer&quot; zu verwenden.</source>
        <translation>Using the type &quot;32-bit integer&quot; is advisable.</translation>
    </message>
    <message id="65221">
        <source>Bitte verwenden sie einen anderen Startwert!</source>
        <translation>Please use another start value!</translation>
    </message>
    <message id="65222">
        <source>Quelldatei auswählen</source>
        <translation>Choose source file</translation>
    </message>
    <message id="65223">
        <source>Auf diese Datenbank konnte nicht zugegriffen werden.</source>
        <translation>This database could not be accessed.</translation>
    </message>
    <message id="65224">
        <source>Die Datenbank konnte nicht geöffnet werden.</source>
        <translation>The database could not be opened.</translation>
    </message>
    <message id="65225">
        <source>Ihre Bemerkung wurde gespeichert</source>
        <translation>Your remark has been saved</translation>
    </message>
    <message id="65226">
        <source>Bitte erst eine Tabelle wählen!</source>
        <translation>Please choose a table first!</translation>
    </message>
    <message id="65227">
        <source>Optionen &amp;schließen</source>
        <translation>Close o&amp;ptions</translation>
    </message>
    <message id="65228">
        <source>Möchten Sie wirklich abbrechen?</source>
        <translation>Do you really want to cancel?</translation>
    </message>
    <message id="65229">
        <source>Möchten Sie wirklich alle Zuordnungen aufheben?</source>
        <translation>Do you really want to remove all assignments?</translation>
    </message>
    <message id="65230">
        <source>Alle Zuordnungen werden aufgehoben...</source>
        <translation>Removing all assignments...</translation>
    </message>
    <message id="65231">
        <source>Datenbankinhalt wurde vor dem Importlauf gelöscht!</source>
        <translation>Database contents were deleted before the import run!</translation>
    </message>
    <message id="65232">
        <source>Logisch J/N</source>
        <translation>Logical Y/N</translation>
    </message>
    <message id="65233">
        <source>Numerisch</source>
        <translation>Numeric</translation>
    </message>
    <message id="65234">
        <source>Währung</source>
        <translation>Currency</translation>
    </message>
    <message id="65235">
        <source>BCD</source>
        <translation>BCD</translation>
    </message>
    <message id="65236">
        <source>Zeit</source>
        <translation>Time</translation>
    </message>
    <message id="65237">
        <source>Datum/Zeit</source>
        <translation>Date/time</translation>
    </message>
    <message id="65238">
        <source>const.Byte (bin)</source>
        <translation>const. byte (bin)</translation>
    </message>
    <message id="65239">
        <source>var. Byte(bin)</source>
        <translation>var. byte (bin)</translation>
    </message>
    <message id="65240">
        <source>32 Bit Zähler</source>
        <translation>32-bit autoincrement</translation>
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
        <translation>Bitmap</translation>
    </message>
    <message id="65244">
        <source>format. Memo</source>
        <translation>formatted memo</translation>
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
        <translation>unknown</translation>
    </message>
    <message id="65249">
        <source>Hochzählen</source>
        <translation>Counting up</translation>
    </message>
    <message id="65250">
        <source>Datum</source>
        <translation>Date</translation>
    </message>
    <message id="65251">
        <source>Version</source>
        <translation>Version</translation>
    </message>
    <message id="65252">
        <source>vom</source>
        <translation>of</translation>
    </message>
    <message id="65253">
        <source>Neu</source>
        <translation>New</translation>
    </message>
    <message id="65254">
        <source>&amp;Vorschau</source>
        <translation>&amp;Preview</translation>
    </message>
    <message id="65255">
        <source>Vorschau &amp;schließen</source>
        <translation>&amp;Close preview</translation>
    </message>
    <message id="65256">
        <source>Expression: </source>
        <translation>Expression: </translation>
    </message>
    <message id="65257">
        <source>Wert:</source>
        <translation>Value:</translation>
    </message>
    <message id="65258">
        <source>Formeleditor</source>
        <translation>Formula editor</translation>
    </message>
    <message id="65259">
        <source>Importeinstellungen</source>
        <translation>Import settings</translation>
    </message>
    <message id="65260">
        <source>Zeichen</source>
        <translation>Character</translation>
    </message>
    <message id="65261">
        <source>Ganzzahl, kurz</source>
        <translation>Integer, short</translation>
    </message>
    <message id="65262">
        <source>Ganzzahl, lang</source>
        <translation>Integer, long</translation>
    </message>
    <message id="65263">
        <source>Ganzzahl o. VZ</source>
        <translation>Integer unsigned</translation>
    </message>
    <message id="65264">
        <source>The version of the resource file is invalid. Please, update the file and try again</source>
        <translation>The version of the resource file is invalid. Please, update the file and try again</translation>
    </message>
    <message id="65265">
        <source>Invalid resource file format</source>
        <translation>Invalid resource file format</translation>
    </message>
    <message id="65266">
        <source>Error loading resource file &quot;%s&quot;</source>
        <translation>Error loading resource file &quot;%s&quot;</translation>
    </message>
    <message id="65267">
        <source>Localizer error</source>
        <translation>Localizer error</translation>
    </message>
    <message id="65268">
        <source>&amp;Abbrechen</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message id="65269">
        <source>&amp;Schließen</source>
        <translation>&amp;Close</translation>
    </message>
    <message id="65270">
        <source>&amp;Optionen</source>
        <translation>&amp;Options</translation>
    </message>
    <message id="65271">
        <source> Datensätze</source>
        <translation> records</translation>
    </message>
    <message id="65272">
        <source>Quelle</source>
        <translation>Source</translation>
    </message>
    <message id="65273">
        <source>Quelldatei</source>
        <translation>Source file</translation>
    </message>
    <message id="65274">
        <source>Tabelle</source>
        <translation>Table</translation>
    </message>
    <message id="65275">
        <source>Ziel</source>
        <translation>Target</translation>
    </message>
    <message id="65276">
        <source>Zieldatenbank</source>
        <translation>Target database</translation>
    </message>
    <message id="65277">
        <source>Quelldatenbank</source>
        <translation>Source database</translation>
    </message>
    <message id="65278">
        <source>Zeilen</source>
        <translation>lines</translation>
    </message>
    <message id="65279">
        <source>fertig.</source>
        <translation>done.</translation>
    </message>
    <message id="65295">
        <source>The version of the resource file &quot;%s&quot; is invalid. Please, update the file and try again</source>
        <translation>The version of the resource file &quot;%s&quot; is invalid. Please, update the file and try again</translation>
    </message>
    <message id="61300">
        <source>Beim Einlesen der Textdatei mussten Werte verändert werden.</source>
        <translation>Some values had to be changed while reading the text file.</translation>
    </message>
    <message id="61301">
        <source>Werte, die länger als 255 Zeichen waren und gekürzt wurden: %s</source>
        <translation>Values longer than 255 characters that were shortened: %s</translation>
    </message>
    <message id="61302">
        <source>Zeichen, die in der Tabelle nicht gespeichert werden können und durch &quot;?&quot; ersetzt wurden: %s</source>
        <translation>Characters that cannot be stored in the table and were replaced by &quot;?&quot;: %s</translation>
    </message>
    <message id="61500">
        <source>Die Importeinstellung &quot;%s&quot; nennt den unzulässigen Dateinamen &quot;%s&quot; und ist nicht eingelesen worden.</source>
        <translation>The import setting &quot;%s&quot; names the invalid file name &quot;%s&quot; and has not been read.</translation>
    </message>
    <message id="61501">
        <source>Zur Importeinstellung &quot;%s&quot; fehlen die Dateien %s.DB und .MB; sie ist nicht eingelesen worden.</source>
        <translation>The files of the import setting &quot;%s&quot; (%s.DB and .MB) are missing; it has not been read.</translation>
    </message>
    <message id="61502">
        <source>Eine Zeile ohne Bezeichnung ist übergangen worden.</source>
        <translation>A row without a name has been skipped.</translation>
    </message>
    <message id="61503">
        <source>Die Bezeichnung &quot;%s&quot; ist länger als 80 Zeichen und ist auf &quot;%s&quot; gekürzt worden.</source>
        <translation>The name &quot;%s&quot; is longer than 80 characters and has been shortened to &quot;%s&quot;.</translation>
    </message>
    <message id="61504">
        <source>Die Dateien der Importeinstellung &quot;%s&quot; hätten vorhandene Dateien überschrieben; sie ist nicht eingelesen worden.</source>
        <translation>The files of the import setting &quot;%s&quot; would have overwritten existing files; it has not been read.</translation>
    </message>
    <message id="61505">
        <source>Die Dateien der Importeinstellung &quot;%s&quot; konnten nicht in den Programmordner kopiert werden; sie ist nicht eingelesen worden.</source>
        <translation>The files of the import setting &quot;%s&quot; could not be copied into the program folder; it has not been read.</translation>
    </message>
    <message id="61506">
        <source>Die Datei %s kann nicht als Liste von Importeinstellungen gelesen werden:&#13;
%s</source>
        <translation>The file %s cannot be read as a list of import settings:&#13;
%s</translation>
    </message>
    <message id="61507">
        <source>In der Datei %s fehlt die Spalte &quot;%s&quot;. Es sind keine Importeinstellungen eingelesen worden.</source>
        <translation>The file %s lacks the column &quot;%s&quot;. No import settings have been read.</translation>
    </message>
    <message id="61508">
        <source>Die Bezeichnung einer Importeinstellung darf höchstens 80 Zeichen lang sein.</source>
        <translation>The name of an import setting may be at most 80 characters long.</translation>
    </message>
    <message id="61509">
        <source>Die Importeinstellung &quot;%s&quot; verweist auf den ungültigen Dateinamen &quot;%s&quot;.&#13;
Es ist keine Datei kopiert worden.</source>
        <translation>The import setting &quot;%s&quot; refers to the invalid file name &quot;%s&quot;.&#13;
No file has been copied.</translation>
    </message>
    <message id="61510">
        <source>Im Programmordner liegen schon Dateien mit dem Namen %s.&#13;
Die Importeinstellung ist nicht kopiert worden.</source>
        <translation>The program folder already holds files named %s.&#13;
The import setting has not been copied.</translation>
    </message>
    <message id="61310">
        <source>Die Datei &quot;%s&quot; kann nicht gelesen werden: Ihnen fehlt die Berechtigung.</source>
        <translation>The file &quot;%s&quot; cannot be read: you do not have permission.</translation>
    </message>
    <message id="61311">
        <source>Der Ordner &quot;%s&quot; konnte nicht angelegt werden.</source>
        <translation>The folder &quot;%s&quot; could not be created.</translation>
    </message>
    <message id="61312">
        <source>Die Zieldatei &quot;%s&quot; kann nicht beschrieben werden: Sie ist schreibgeschützt, oder Ihnen fehlt die Berechtigung.&#13;
Bitte wählen Sie eine andere Zieldatei.</source>
        <translation>The target file &quot;%s&quot; cannot be written: it is read-only, or you do not have permission.&#13;
Please choose another target file.</translation>
    </message>
    <message id="61313">
        <source>In die Zieldatei &quot;%s&quot; kann nicht importiert werden.</source>
        <translation>Records cannot be imported into the target file &quot;%s&quot;.</translation>
    </message>
    <message id="61314">
        <source>Die Hilfedatei %s konnte nicht geöffnet werden.</source>
        <translation>The help file %s could not be opened.</translation>
    </message>
    <message id="61315">
        <source>Es konnte kein E-Mail-Programm geöffnet werden. Bitte kopieren Sie den Bericht und senden Sie ihn an %s.</source>
        <translation>No e-mail program could be opened. Please copy the report and send it to %s.</translation>
    </message>
    <message id="61400">
        <source>Die Spalte %s hat keine Bezeichnung.&#13;
&#13;
Bitte geben Sie der Spalte einen Namen.</source>
        <translation>Column %s has no name.&#13;
&#13;
Please give the column a name.</translation>
    </message>
    <message id="61401">
        <source>Die Bezeichnung &quot;%s&quot; der Spalte %s beginnt mit einem Leerzeichen.&#13;
&#13;
Feldnamen dürfen nicht mit einem Leerzeichen beginnen.</source>
        <translation>The name &quot;%s&quot; of column %s begins with a space.&#13;
&#13;
Field names must not begin with a space.</translation>
    </message>
    <message id="61402">
        <source>Die Bezeichnung &quot;%s&quot; der Spalte %s ist länger als %s Zeichen.&#13;
&#13;
Bitte kürzen Sie die Spaltenbezeichnung.</source>
        <translation>The name &quot;%s&quot; of column %s is longer than %s characters.&#13;
&#13;
Please shorten the column name.</translation>
    </message>
    <message id="61403">
        <source>Die Bezeichnung &quot;%s&quot; der Spalte %s enthält ein Zeichen, das in Feldnamen nicht erlaubt ist (Zeilenumbruch, Tabulator, [ ] { } ( ), &quot;-&gt;&quot; oder &quot;#&quot; allein).&#13;
&#13;
Bitte ändern Sie die Spaltenbezeichnung.</source>
        <translation>The name &quot;%s&quot; of column %s contains a character that field names must not contain (line break, tab, [ ] { } ( ), &quot;-&gt;&quot; or &quot;#&quot; alone).&#13;
&#13;
Please change the column name.</translation>
    </message>
    <message id="61404">
        <source>Die Bezeichnung &quot;%s&quot; der Spalte %s enthält Zeichen, die in der Quelltabelle nicht gespeichert werden können: %s&#13;
&#13;
Bitte ändern Sie die Spaltenbezeichnung.</source>
        <translation>The name &quot;%s&quot; of column %s contains characters that cannot be stored in the source table: %s&#13;
&#13;
Please change the column name.</translation>
    </message>
    <message id="61405">
        <source>Die Datei ergibt %s Spalten; eine Tabelle kann höchstens %s Felder aufnehmen.&#13;
&#13;
Bitte wählen Sie andere Feldtrennzeichen.</source>
        <translation>The file gives %s columns; a table can hold at most %s fields.&#13;
&#13;
Please choose other field separators.</translation>
    </message>
    <message id="61406">
        <source>Die Bezeichnung &quot;%s&quot; der Spalte %s ergibt in der Quelltabelle denselben Feldnamen wie &quot;%s&quot; der Spalte %s.&#13;
&#13;
Bitte ändern Sie die Spaltenbezeichnung.</source>
        <translation>The name &quot;%s&quot; of column %s gives the same field name in the source table as &quot;%s&quot; of column %s.&#13;
&#13;
Please change the column name.</translation>
    </message>
    <message id="61407">
        <source>Die Textdatei konnte nicht eingelesen werden.&#13;
&#13;
%s</source>
        <translation>The text file could not be read.&#13;
&#13;
%s</translation>
    </message>
    <message id="61408">
        <source>Die Datei ergibt %s Spalten; so viele Spalten kann die Zwischentabelle nicht aufnehmen:&#13;
%s&#13;
&#13;
Bitte wählen Sie andere Feldtrennzeichen oder legen Sie weniger Spalten fest.</source>
        <translation>The file gives %s columns; the intermediate table cannot hold that many columns:&#13;
%s&#13;
&#13;
Please choose other field separators or set fewer columns.</translation>
    </message>
</context>
<context>
    <name>Filterdialog</name>
    <message id="61550">
        <source>Der Name &quot;%s&quot; kann keine Filterdatei benennen: er darf weder einen Ordner noch &quot;..&quot; enthalten.</source>
        <translation>The name &quot;%s&quot; cannot name a filter file: it must contain neither a folder nor &quot;..&quot;.</translation>
    </message>
    <message id="61551">
        <source>Die Datei &quot;%s&quot; ist keine Filterdatei.</source>
        <translation>The file &quot;%s&quot; is not a filter file.</translation>
    </message>
    <message id="61552">
        <source>Die Datei &quot;%s&quot; ist zu groß für eine Filterdatei.</source>
        <translation>The file &quot;%s&quot; is too large for a filter file.</translation>
    </message>
    <message id="61553">
        <source>Die Datei &quot;%s&quot; kann nicht gelesen werden: %s</source>
        <translation>The file &quot;%s&quot; cannot be read: %s</translation>
    </message>
    <message id="61554">
        <source>Die Datei &quot;%s&quot; kann nicht geschrieben werden: %s</source>
        <translation>The file &quot;%s&quot; cannot be written: %s</translation>
    </message>
    <message id="61555">
        <source>Die Filterdatei &quot;%s&quot; nennt in Bedingung %s die unbekannte Bedingungsnummer &quot;%s&quot;. Die Bedingungen davor wurden geladen.</source>
        <translation>The filter file &quot;%s&quot; names in condition %s the unknown condition number &quot;%s&quot;. The conditions before it were loaded.</translation>
    </message>
    <message id="61556">
        <source>Die Filterdatei &quot;%s&quot; nennt in Bedingung %s das Feld &quot;%s&quot;, das hier nicht angeboten wird. Die Bedingungen davor wurden geladen.</source>
        <translation>The filter file &quot;%s&quot; names in condition %s the field &quot;%s&quot;, which is not offered here. The conditions before it were loaded.</translation>
    </message>
    <message id="61557">
        <source>In der Filterdatei &quot;%s&quot; ist Bedingung %s unvollständig. Die Bedingungen davor wurden geladen.</source>
        <translation>In the filter file &quot;%s&quot; condition %s is incomplete. The conditions before it were loaded.</translation>
    </message>
    <message id="61558">
        <source>Die Bedingung kann so nicht gelten:&#13;
%s</source>
        <translation>The condition cannot apply like this:&#13;
%s</translation>
    </message>
    <message id="61559">
        <source>Für &quot;%s&quot; geben Sie zwei Werte ein, durch ein Leerzeichen getrennt, zum Beispiel: 1 9</source>
        <translation>For &quot;%s&quot; enter two values separated by a blank, for example: 1 9</translation>
    </message>
</context>
<context>
    <name>TfrmImport1</name>
    <message id="TfrmImport1.btnHilfe6">
        <source>&amp;Hilfe</source>
        <translation>&amp;Help</translation>
    </message>
    <message id="TfrmImport1.btnAbbrechen6">
        <source>&amp;Abbrechen</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message id="TfrmImport1.btnHilfe5">
        <source>&amp;Hilfe</source>
        <translation>&amp;Help</translation>
    </message>
    <message id="TfrmImport1.btnAbbrechen5">
        <source>&amp;Abbrechen</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message id="TfrmImport1.btnHilfe4">
        <source>&amp;Hilfe</source>
        <translation>&amp;Help</translation>
    </message>
    <message id="TfrmImport1.btnAbbrechen4">
        <source>&amp;Abbrechen</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message id="TfrmImport1.lblVorschauVorber">
        <source>Vorschau wird bearbeitet...</source>
        <translation>Preparing preview...</translation>
    </message>
    <message id="TfrmImport1.lblSpalte">
        <source>Spalte:</source>
        <translation>Column:</translation>
    </message>
    <message id="TfrmImport1.cbxRaster">
        <source>&amp;Raster einblenden</source>
        <translation>Show &amp;grid</translation>
    </message>
    <message id="TfrmImport1.Button4">
        <source>Debug</source>
        <translation>Debug</translation>
    </message>
    <message id="TfrmImport1.rgrDatsatzlaenge0">
        <source>&amp;Variable Feldlänge</source>
        <translation>&amp;Variable field length</translation>
    </message>
    <message id="TfrmImport1.rgrDatsatzlaenge1">
        <source>&amp;Feste Feldlänge</source>
        <translation>&amp;Fixed field length</translation>
    </message>
    <message id="TfrmImport1.btnQOptionen2">
        <source>&amp;Optionen</source>
        <translation>&amp;Options</translation>
    </message>
    <message id="TfrmImport1.btnHilfe1txt">
        <source>&amp;Hilfe</source>
        <translation>&amp;Help</translation>
    </message>
    <message id="TfrmImport1.btnAbbrechen1txt">
        <source>&amp;Abbrechen</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message id="TfrmImport1.btnZurueck1txt">
        <source>&lt;-- &amp;Zurück</source>
        <translation>&lt;-- &amp;Back</translation>
    </message>
    <message id="TfrmImport1.btnWeiter1txt">
        <source>&amp;Weiter --&gt;</source>
        <translation>&amp;Next --&gt;</translation>
    </message>
    <message id="TfrmImport1.Button6">
        <source>Inhalt ansehen</source>
        <translation>View contents</translation>
    </message>
    <message id="TfrmImport1.btnWeiterIB">
        <source>&amp;Weiter --&gt;</source>
        <translation>&amp;Next --&gt;</translation>
    </message>
    <message id="TfrmImport1.lblQuelleTitel">
        <source>Welche Datei soll importiert werden?</source>
        <translation>Which file is to be imported?</translation>
    </message>
    <message id="TfrmImport1.lblQuelle">
        <source>Bitte geben Sie den &amp;Verzeichnispfad und den Namen der Quell-
datei ein, oder suchen Sie danach, indem Sie die Schaltfläche
&quot;Durchsuchen&quot; anklicken.</source>
        <translation>Please enter the &amp;folder path and the name of the source file,
or search for it by clicking the &quot;Browse&quot; button.</translation>
    </message>
    <message id="TfrmImport1.Label7">
        <source>In welche Zieldatei sollen die Daten übertragen werden?</source>
        <translation>Into which target file should the data be transferred?</translation>
    </message>
    <message id="TfrmImport1.lblZiel">
        <source>Bitte geben Sie den &amp;Verzeichnispfad und den Namen der Daten-
bank ein, in die importiert werden soll, oder suchen Sie danach,
indem Sie die Schaltfläche &quot;Durchsuchen&quot; anklicken.</source>
        <translation>Please enter the &amp;folder path and the name of the data-
base to import into, or search for it
by clicking the &quot;Browse&quot; button.</translation>
    </message>
    <message id="TfrmImport1.rbtFreieZieldatei">
        <source>&amp;frei wählbare Zieldatei:</source>
        <translation>&amp;Target file of your choice:</translation>
    </message>
    <message id="TfrmImport1.btnZBrowse">
        <source>&amp;Durchsuchen</source>
        <translation>B&amp;rowse</translation>
    </message>
    <message id="TfrmImport1.rbtFRArtikeldatei">
        <source>Ferolin: A&amp;rtikeldatei</source>
        <translation>Ferolin: Art&amp;icle file</translation>
    </message>
    <message id="TfrmImport1.rbtFRKundendatei">
        <source>Ferolin: &amp;Kundendatei</source>
        <translation>Ferolin: C&amp;ustomer file</translation>
    </message>
    <message id="TfrmImport1.rbtWDAdressdatei">
        <source>Velmora-Wendamo: Adr&amp;essdatei</source>
        <translation>Velmora-Wendamo: Addr&amp;ess file</translation>
    </message>
    <message id="TfrmImport1.btnInhaltAnz3">
        <source>&amp;Inhalt ansehen</source>
        <translation>&amp;View contents</translation>
    </message>
    <message id="TfrmImport1.btnSicherungskopie">
        <source>&amp;Sicherungskopie anlegen</source>
        <translation>Make backup c&amp;opy</translation>
    </message>
    <message id="TfrmImport1.cbxSicherungskopie">
        <source>&amp;Sicherungskopie anlegen</source>
        <translation>Make backup c&amp;opy</translation>
    </message>
    <message id="TfrmImport1.cbxZielLeeren">
        <source>Zieldatei &amp;leeren:</source>
        <translation>E&amp;mpty target file:</translation>
    </message>
    <message id="TfrmImport1.lblZielLeeren">
        <source>In der Zieldatei vorhandene
Datensätze werden vor dem
Import gelöscht!</source>
        <translation>Records present in the
target file are deleted
before the import!</translation>
    </message>
    <message id="TfrmImport1.btnHilfe3">
        <source>&amp;Hilfe</source>
        <translation>&amp;Help</translation>
    </message>
    <message id="TfrmImport1.btnAbbrechen3">
        <source>&amp;Abbrechen</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message id="TfrmImport1.btnZurueck3">
        <source>&lt;-- &amp;Zurück</source>
        <translation>&lt;-- &amp;Back</translation>
    </message>
    <message id="TfrmImport1.btnWeiter3">
        <source>&amp;Weiter --&gt;</source>
        <translation>&amp;Next --&gt;</translation>
    </message>
    <message id="TfrmImport1.lblBittewarten">
        <source>Daten werden eingelesen, bitte warten...</source>
        <translation>Reading data, please wait...</translation>
    </message>
    <message id="TfrmImport1.btnAccessInhaltAnsehen">
        <source>&amp;Inhalt ansehen</source>
        <translation>&amp;View contents</translation>
    </message>
    <message id="TfrmImport1.Button2">
        <source>&amp;Hilfe</source>
        <translation>&amp;Help</translation>
    </message>
    <message id="TfrmImport1.Button1">
        <source>&amp;Abbrechen</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message id="TfrmImport1.bznZurueckAdo">
        <source>&lt;-- &amp;Zurück</source>
        <translation>&lt;-- &amp;Back</translation>
    </message>
    <message id="TfrmImport1.btnWeiterAdo">
        <source>&amp;Weiter --&gt;</source>
        <translation>&amp;Next --&gt;</translation>
    </message>
    <message id="TfrmImport1.btnQBrowse">
        <source>&amp;Durchsuchen</source>
        <translation>B&amp;rowse</translation>
    </message>
    <message id="TfrmImport1.btnInhaltAnz2">
        <source>&amp;Inhalt ansehen</source>
        <translation>&amp;View contents</translation>
    </message>
    <message id="TfrmImport1.btnQOptionen1">
        <source>&amp;Optionen</source>
        <translation>&amp;Options</translation>
    </message>
    <message id="TfrmImport1.btnHilfe2">
        <source>&amp;Hilfe</source>
        <translation>&amp;Help</translation>
    </message>
    <message id="TfrmImport1.btnAbbrechen2">
        <source>&amp;Abbrechen</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message id="TfrmImport1.btnZurueck2">
        <source>&lt;-- &amp;Zurück</source>
        <translation>&lt;-- &amp;Back</translation>
    </message>
    <message id="TfrmImport1.btnWeiter2">
        <source>&amp;Weiter --&gt;</source>
        <translation>&amp;Next --&gt;</translation>
    </message>
    <message id="TfrmImport1.Label1">
        <source>Dieses Programm hilft Ihnen beim Importieren von Textdateien oder Datenbanken</source>
        <translation>This program helps you import text files or databases</translation>
    </message>
    <message id="TfrmImport1.Label2">
        <source>Möchten Sie neue Importeinstellungen erstellen, oder
eventuell vorhandene Einstellungen verwenden?</source>
        <translation>Would you like to create new import settings, or
use settings that may already exist?</translation>
    </message>
    <message id="TfrmImport1.rbtNeueImport">
        <source>Neue &amp;Importeinstellungen erstellen</source>
        <translation>Create new &amp;import settings</translation>
    </message>
    <message id="TfrmImport1.rbtVorhEinst_oAE">
        <source>Vorhandene Einstellungen &amp;ohne Änderungen verwenden</source>
        <translation>Use existing settings with&amp;out changes</translation>
    </message>
    <message id="TfrmImport1.rbtVorhEinst_mAE">
        <source>Vorhandene Einstellungen ä&amp;ndern</source>
        <translation>Chan&amp;ge existing settings</translation>
    </message>
    <message id="TfrmImport1.rbtImpEinlesen">
        <source>Importeinstellungen einlesen</source>
        <translation>Read import settings</translation>
    </message>
    <message id="TfrmImport1.gbxAktEinstellung">
        <source>Aktuelle Einstellung:</source>
        <translation>Current setting:</translation>
    </message>
    <message id="TfrmImport1.lblWeitere">
        <source>Alle &amp;Einstellungen</source>
        <translation>All s&amp;ettings</translation>
    </message>
    <message id="TfrmImport1.btnDetails">
        <source>&amp;Details</source>
        <translation>&amp;Details</translation>
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
        <translation>Change language</translation>
    </message>
    <message id="TfrmImport1.btnHilfe1">
        <source>&amp;Hilfe</source>
        <translation>&amp;Help</translation>
    </message>
    <message id="TfrmImport1.btnAbbrechen1">
        <source>&amp;Abbrechen</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message id="TfrmImport1.btnWeiter1">
        <source>&amp;Weiter --&gt;</source>
        <translation>&amp;Next --&gt;</translation>
    </message>
</context>
<context>
    <name>TfrmSplashScreen</name>
    <message id="TfrmSplashScreen.lblBeschreibung">
        <source>Das Daten-Importprogramm für Windows</source>
        <translation>The data import program for Windows</translation>
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
        <translation>View contents</translation>
    </message>
    <message id="TfrmInhaltAnz.btnFilter">
        <source>&amp;Filter</source>
        <translation>&amp;Filter</translation>
    </message>
    <message id="TfrmInhaltAnz.btnInhSchliessen">
        <source>&amp;Schließen</source>
        <translation>&amp;Close</translation>
    </message>
    <message id="TfrmInhaltAnz.TabSheet1">
        <source>Quelldatei</source>
        <translation>Source file</translation>
    </message>
    <message id="TfrmInhaltAnz.TabSheet2">
        <source>Zieldatei</source>
        <translation>Target file</translation>
    </message>
    <message id="TfrmInhaltAnz.TabSheet3">
        <source>Inhalt der Textdatei</source>
        <translation>Contents of the text file</translation>
    </message>
    <message id="TfrmInhaltAnz.FilterDialog">
        <source>Quelldatei filtern</source>
        <translation>Filter source file</translation>
    </message>
</context>
<context>
    <name>TfrmGauge</name>
    <message id="TfrmGauge.lblSummeQuelleCaption">
        <source>Anzahl der zu importierenden Datensätze</source>
        <translation>Number of records to import</translation>
    </message>
    <message id="TfrmGauge.lblAnzHinzuCaption">
        <source>Anzahl hinzugefügter Datensätze</source>
        <translation>Number of records added</translation>
    </message>
    <message id="TfrmGauge.lblIgnorCaption">
        <source>Anzahl ignorierter Datensätze</source>
        <translation>Number of records ignored</translation>
    </message>
    <message id="TfrmGauge.lblUmbenCaption">
        <source>Anzahl umbenannter Datensätze</source>
        <translation>Number of records renamed</translation>
    </message>
    <message id="TfrmGauge.lblAnzAktCaption">
        <source>Anzahl aktualisierter Datensätze</source>
        <translation>Number of records updated</translation>
    </message>
    <message id="TfrmGauge.lblSummeCaption">
        <source>Summe bearbeiteter Datensätze</source>
        <translation>Total of records processed</translation>
    </message>
    <message id="TfrmGauge.lblAnzFehlerCaption">
        <source>Anzahl der aufgetretenen Fehler:</source>
        <translation>Number of errors:</translation>
    </message>
    <message id="TfrmGauge.lblAnzGeles">
        <source>Anzahl gelesener Zeilen</source>
        <translation>Number of lines read</translation>
    </message>
    <message id="TfrmGauge.btnGaugeAbbrechen">
        <source>&amp;Abbrechen</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message id="TfrmGauge.btnHilfe">
        <source>&amp;Hilfe</source>
        <translation>&amp;Help</translation>
    </message>
</context>
<context>
    <name>TfrmEinstellAEND</name>
    <message id="TfrmEinstellAEND.gbxAnzeigeImpEinst">
        <source>Anzeige</source>
        <translation>Show</translation>
    </message>
    <message id="TfrmEinstellAEND.gbxAnzeigeImpEinst0">
        <source>Eigene Importeinstellungen</source>
        <translation>Own import settings</translation>
    </message>
    <message id="TfrmEinstellAEND.gbxAnzeigeImpEinst1">
        <source>Vordefinierte Importeinstellungen</source>
        <translation>Predefined import settings</translation>
    </message>
    <message id="TfrmEinstellAEND.gbxAnzeigeImpEinst2">
        <source>Alle Importeinstellungen</source>
        <translation>All import settings</translation>
    </message>
    <message id="TfrmEinstellAEND.btnVonDiskEinlesen">
        <source>Neue &amp;Einstellungen einlesen</source>
        <translation>Read &amp;new settings</translation>
    </message>
    <message id="TfrmEinstellAEND.btnKopierenNach">
        <source>&amp;Kopieren nach</source>
        <translation>Co&amp;py to</translation>
    </message>
    <message id="TfrmEinstellAEND.btnLoeschen">
        <source>&amp;Löschen</source>
        <translation>&amp;Delete</translation>
    </message>
    <message id="TfrmEinstellAEND.btnUmbenennen">
        <source>&amp;Umbenennen</source>
        <translation>&amp;Rename</translation>
    </message>
    <message id="TfrmEinstellAEND.lblBez">
        <source>Bezeichnung</source>
        <translation>Name</translation>
    </message>
    <message id="TfrmEinstellAEND.lblLetzImp">
        <source>Letzter Import</source>
        <translation>Last import</translation>
    </message>
    <message id="TfrmEinstellAEND.lblBemerkung">
        <source>Bemerkung</source>
        <translation>Remark</translation>
    </message>
    <message id="TfrmEinstellAEND.lblQuelle">
        <source>Quelldatei</source>
        <translation>Source file</translation>
    </message>
    <message id="TfrmEinstellAEND.cbxQuelleAusw">
        <source>Datei auswählen</source>
        <translation>Choose file</translation>
    </message>
    <message id="TfrmEinstellAEND.lblZiel">
        <source>Zieldatei</source>
        <translation>Target file</translation>
    </message>
    <message id="TfrmEinstellAEND.cbxZielAusw">
        <source>Datei auswählen</source>
        <translation>Choose file</translation>
    </message>
    <message id="TfrmEinstellAEND.cbxSicherungskopie">
        <source>Sicherungskopie erstellen</source>
        <translation>Make a backup copy</translation>
    </message>
    <message id="TfrmEinstellAEND.cbxZielLeer">
        <source>Zieldatenbank vor dem Import leeren</source>
        <translation>Empty the target database before the import</translation>
    </message>
    <message id="TfrmEinstellAEND.lblIntTab">
        <source>Basisname der internen Dateien</source>
        <translation>Base name of the internal files</translation>
    </message>
    <message id="TfrmEinstellAEND.lblImportlauf">
        <source>Importlaufeigenschaft</source>
        <translation>Import run</translation>
    </message>
    <message id="TfrmEinstellAEND.btnOptionen">
        <source>&amp;Optionen</source>
        <translation>&amp;Options</translation>
    </message>
    <message id="TfrmEinstellAEND.btnHilfe">
        <source>&amp;Hilfe</source>
        <translation>&amp;Help</translation>
    </message>
    <message id="TfrmEinstellAEND.btnImportStarten">
        <source>&amp;Import starten</source>
        <translation>&amp;Start import</translation>
    </message>
    <message id="TfrmEinstellAEND.btnAbbrechen">
        <source>&amp;Abbrechen</source>
        <translation>C&amp;ancel</translation>
    </message>
</context>
<context>
    <name>TfrmEinstellANZ</name>
    <message id="TfrmEinstellANZ">
        <source>Vorhandene Importeinstellung ohne Änderung übernehmen</source>
        <translation>Use existing import setting without changes</translation>
    </message>
    <message id="TfrmEinstellANZ.lblLetzterImport">
        <source>Letzter Import</source>
        <translation>Last import</translation>
    </message>
    <message id="TfrmEinstellANZ.lblQuelldatei">
        <source>Quelldatei</source>
        <translation>Source file</translation>
    </message>
    <message id="TfrmEinstellANZ.lblZieldatei">
        <source>Zieldatei</source>
        <translation>Target file</translation>
    </message>
    <message id="TfrmEinstellANZ.lblBemerkung">
        <source>Bemerkung</source>
        <translation>Remark</translation>
    </message>
    <message id="TfrmEinstellANZ.lblIntTabTitel">
        <source>Basisname interner Dateien</source>
        <translation>Base name of internal files</translation>
    </message>
    <message id="TfrmEinstellANZ.lblOptionenTitel">
        <source>Optionen Importlauf:</source>
        <translation>Import run options:</translation>
    </message>
    <message id="TfrmEinstellANZ.btnOptionen">
        <source>&amp;Optionen</source>
        <translation>&amp;Options</translation>
    </message>
    <message id="TfrmEinstellANZ.btnSchliessen">
        <source>&amp;Schliessen</source>
        <translation>&amp;Close</translation>
    </message>
    <message id="TfrmEinstellANZ.btnHilfe">
        <source>&amp;Hilfe</source>
        <translation>&amp;Help</translation>
    </message>
</context>
<context>
    <name>TfrmFormelEdt</name>
    <message id="TfrmFormelEdt">
        <source>Formeleditor</source>
        <translation>Formula editor</translation>
    </message>
    <message id="TfrmFormelEdt.btnOK">
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message id="TfrmFormelEdt.btnVorschau">
        <source>&amp;Vorschau</source>
        <translation>&amp;Preview</translation>
    </message>
    <message id="TfrmFormelEdt.btnHilfe">
        <source>&amp;Hilfe</source>
        <translation>&amp;Help</translation>
    </message>
    <message id="TfrmFormelEdt.btnLoeschen">
        <source>&amp;Löschen</source>
        <translation>&amp;Delete</translation>
    </message>
</context>
<context>
    <name>TfrmCopyFehler</name>
    <message id="TfrmCopyFehler">
        <source>Zusammenfassung Importeinstellung einlesen</source>
        <translation>Summary of reading import settings</translation>
    </message>
    <message id="TfrmCopyFehler.btnSchliessen">
        <source>&amp;Schließen</source>
        <translation>&amp;Close</translation>
    </message>
</context>
<context>
    <name>TfrmQOptionen</name>
    <message id="TfrmQOptionen">
        <source>Allgemeine Einstellungen</source>
        <translation>General settings</translation>
    </message>
    <message id="TfrmQOptionen.lblDecimal">
        <source>Dezimaltrennzeichen</source>
        <translation>Decimal separator</translation>
    </message>
    <message id="TfrmQOptionen.lblTausend">
        <source>Tausendertrennzeichen</source>
        <translation>Thousands separator</translation>
    </message>
    <message id="TfrmQOptionen.lblTime">
        <source>Uhrzeittrennzeichen</source>
        <translation>Time separator</translation>
    </message>
    <message id="TfrmQOptionen.lblDate">
        <source>Datumstrennzeichen</source>
        <translation>Date separator</translation>
    </message>
    <message id="TfrmQOptionen.lblTMJ">
        <source>Tag/Monat/Jahr</source>
        <translation>Day/Month/Year</translation>
    </message>
    <message id="TfrmQOptionen.comTMJ.0">
        <source>TT/MM/JJJJ</source>
        <translation>DD/MM/YYYY</translation>
    </message>
    <message id="TfrmQOptionen.comTMJ.1">
        <source>MM/TT/JJJJ</source>
        <translation>MM/DD/YYYY</translation>
    </message>
    <message id="TfrmQOptionen.comTMJ.2">
        <source>JJJJ/MM/TT</source>
        <translation>YYYY/MM/DD</translation>
    </message>
    <message id="TfrmQOptionen.comTMJ.3">
        <source>JJJJ/TT/MM</source>
        <translation>YYYY/DD/MM</translation>
    </message>
    <message id="TfrmQOptionen.comTMJ.4">
        <source>MM/JJJJ/TT</source>
        <translation>MM/YYYY/DD</translation>
    </message>
    <message id="TfrmQOptionen.comTMJ.5">
        <source>TT/JJJJ/MM</source>
        <translation>DD/YYYY/MM</translation>
    </message>
    <message id="TfrmQOptionen.cbxDosToWin">
        <source>Umlaute/Sonderzeichen von DOS nach Windows konvertieren</source>
        <translation>Convert umlauts/special characters from DOS to Windows</translation>
    </message>
    <message id="TfrmQOptionen.btnOK">
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message id="TfrmQOptionen.btnHilfe">
        <source>&amp;Hilfe</source>
        <translation>&amp;Help</translation>
    </message>
</context>
<context>
    <name>ErrorReportWindow</name>
    <message id="ErrorReportWindow">
        <source>Programmfehler</source>
        <translation>Program error</translation>
    </message>
    <message id="ErrorReportWindow.lblUeberschrift">
        <source>Im Programm ist ein Fehler aufgetreten, der nicht behandelt wurde.</source>
        <translation>An error occurred in the program that was not handled.</translation>
    </message>
    <message id="ErrorReportWindow.lblAufrufstapel">
        <source>&amp;Aufrufstapel:</source>
        <translation>C&amp;all stack:</translation>
    </message>
    <message id="ErrorReportWindow.btnKopieren">
        <source>&amp;Kopieren</source>
        <translation>&amp;Copy</translation>
    </message>
    <message id="ErrorReportWindow.btnSenden">
        <source>&amp;Senden</source>
        <translation>&amp;Send</translation>
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
        <translation>Help</translation>
    </message>
</context>
<context>
    <name>TfrmImport1</name>
    <message id="TfrmImport1.lblQuellZuord">
        <source>&amp;Quelldatei</source>
        <translation>&amp;Source file</translation>
    </message>
    <message id="TfrmImport1.btnZuordnen">
        <source>zuo&amp;rdnen</source>
        <translation>&amp;Assign</translation>
    </message>
    <message id="TfrmImport1.btnAufheben">
        <source>au&amp;fheben</source>
        <translation>&amp;Unassign</translation>
    </message>
    <message id="TfrmImport1.btnAlleAufheben">
        <source>a&amp;lle aufheben</source>
        <translation>Unassign a&amp;ll</translation>
    </message>
    <message id="TfrmImport1.btnOptionen">
        <source>&amp;Optionen</source>
        <translation>&amp;Options</translation>
    </message>
    <message id="TfrmImport1.lblZielZuord">
        <source>Zi&amp;eldatenbank Zuordnung</source>
        <translation>&amp;Target database assignment</translation>
    </message>
    <message id="TfrmImport1.lblZuordHint">
        <source>Wählen Sie das Feld der Quelldatenbanktabelle aus, dessen
Daten Sie importieren möchten.

Wählen Sie das Feld der Zieldatenbanktabelle aus, das die
Daten des Quelldatenbankfeldes erhalten soll.

Klicken Sie mit der Maus auf die Schaltfläche 'zuordnen'.</source>
        <translation>Select the field of the source database table whose
data you want to import.

Select the field of the target database table that is
to receive the data of the source field.

Click the 'Assign' button.</translation>
    </message>
    <message id="TfrmImport1.lblZZ_Optionen">
        <source>Optionen für Zielfeld</source>
        <translation>Options for target field</translation>
    </message>
    <message id="TfrmImport1.cbxZZ_Vorgabe">
        <source>Vorgabewert setzen:</source>
        <translation>Set default value:</translation>
    </message>
    <message id="TfrmImport1.lblZZ_Vorgabe">
        <source>falls Quellwert</source>
        <translation>if source value</translation>
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
        <translation>Divide by:</translation>
    </message>
    <message id="TfrmImport1.cbxZZ_Mul">
        <source>Multiplizieren mit:</source>
        <translation>Multiply by:</translation>
    </message>
    <message id="TfrmImport1.cbxZZ_Formel">
        <source>Formel  (z. B. #Feld1 * 1.16  oder   #Feld3 * #Feld4):</source>
        <translation>Formula  (e.g. #Field1 * 1.16  or   #Field3 * #Field4):</translation>
    </message>
    <message id="TfrmImport1.btnZZ_Zoom">
        <source>&amp;O</source>
        <translation>&amp;O</translation>
    </message>
    <message id="TfrmImport1.cbxZZ_Runden">
        <source>Runden auf </source>
        <translation>Round to </translation>
    </message>
    <message id="TfrmImport1.lblZZ_Stellen">
        <source>Stellen</source>
        <translation>places</translation>
    </message>
    <message id="TfrmImport1.cbxZZ_Akt">
        <source>Zielfeld aktualisieren, wenn Datensatz bereits vorhanden ist</source>
        <translation>Update target field if the record already exists</translation>
    </message>
    <message id="TfrmImport1.lblZS_Optionen">
        <source>Optionen für Zielfeld</source>
        <translation>Options for target field</translation>
    </message>
    <message id="TfrmImport1.cbxZS_Vorgabe">
        <source>Vorgabewert setzen</source>
        <translation>Set default value</translation>
    </message>
    <message id="TfrmImport1.lblZS_Vorgabe">
        <source>falls Quellwert:</source>
        <translation>if source value:</translation>
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
        <translation>If too long:</translation>
    </message>
    <message id="TfrmImport1.cbxZS_UEVorgabe">
        <source>Vorgabewert setzen</source>
        <translation>Set default value</translation>
    </message>
    <message id="TfrmImport1.cbxZS_Abschneiden">
        <source>abschneiden</source>
        <translation>cut off</translation>
    </message>
    <message id="TfrmImport1.cbxZS_Abschneiden_li">
        <source>links</source>
        <translation>left</translation>
    </message>
    <message id="TfrmImport1.cbxZS_Abschneiden_re">
        <source>rechts</source>
        <translation>right</translation>
    </message>
    <message id="TfrmImport1.lblZS_Vorgabewert">
        <source>Vorgabewert:</source>
        <translation>Default value:</translation>
    </message>
    <message id="TfrmImport1.lblZS_Ausrichtung">
        <source>Ausrichtung:</source>
        <translation>Alignment:</translation>
    </message>
    <message id="TfrmImport1.cbxZS_Ausrichtung_li">
        <source>links</source>
        <translation>left</translation>
    </message>
    <message id="TfrmImport1.cbxZS_Ausrichtung_re">
        <source>rechts</source>
        <translation>right</translation>
    </message>
    <message id="TfrmImport1.cbxZS_Div">
        <source>Dividieren durch:</source>
        <translation>Divide by:</translation>
    </message>
    <message id="TfrmImport1.cbxZS_Mul">
        <source>Multiplizieren mit:</source>
        <translation>Multiply by:</translation>
    </message>
    <message id="TfrmImport1.cbxZS_FAkt">
        <source>Zielfeld aktualisieren, wenn Datensatz bereits vorhanden ist</source>
        <translation>Update target field if the record already exists</translation>
    </message>
    <message id="TfrmImport1.lblSZ_Optionen">
        <source>Optionen für Zielfeld</source>
        <translation>Options for target field</translation>
    </message>
    <message id="TfrmImport1.cbxSZ_Vorgabe">
        <source>Vorgabewert setzen:</source>
        <translation>Set default value:</translation>
    </message>
    <message id="TfrmImport1.lblSZ_Vorgabe">
        <source>falls Quellwert</source>
        <translation>if source value</translation>
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
        <translation>Divide by:</translation>
    </message>
    <message id="TfrmImport1.cbxSZ_Mul">
        <source>Multiplizieren mit:</source>
        <translation>Multiply by:</translation>
    </message>
    <message id="TfrmImport1.cbxSZ_Formel">
        <source>Formel  (z. B. #Feld1 * 1.16  oder   #Feld3 * #Feld4):</source>
        <translation>Formula  (e.g. #Field1 * 1.16  or   #Field3 * #Field4):</translation>
    </message>
    <message id="TfrmImport1.btnSZ_Zoom">
        <source>&amp;O</source>
        <translation>&amp;O</translation>
    </message>
    <message id="TfrmImport1.cbxSZ_Runden">
        <source>Runden auf </source>
        <translation>Round to </translation>
    </message>
    <message id="TfrmImport1.lblSZ_Stellen">
        <source>Stellen</source>
        <translation>places</translation>
    </message>
    <message id="TfrmImport1.cbxSZ_FAkt">
        <source>Zielfeld aktualisieren, wenn Datensatz bereits vorhanden ist</source>
        <translation>Update target field if the record already exists</translation>
    </message>
    <message id="TfrmImport1.lblSS_Optionen">
        <source>Optionen für Zielfeld</source>
        <translation>Options for target field</translation>
    </message>
    <message id="TfrmImport1.cbxSS_Vorgabe">
        <source>Vorgabewert setzen:</source>
        <translation>Set default value:</translation>
    </message>
    <message id="TfrmImport1.lblSS_Vorgabe">
        <source>falls Quellwert:</source>
        <translation>if source value:</translation>
    </message>
    <message id="TfrmImport1.cbxSS_Vorgabe_Gleich">
        <source>=</source>
        <translation>=</translation>
    </message>
    <message id="TfrmImport1.cbxSS_Vorgabe_Leer">
        <source>leer</source>
        <translation>empty</translation>
    </message>
    <message id="TfrmImport1.lblBeiUeberlaenge">
        <source>Bei Überlänge:</source>
        <translation>If too long:</translation>
    </message>
    <message id="TfrmImport1.cbxSS_UEVorgabe">
        <source>Vorgabewert setzen</source>
        <translation>Set default value</translation>
    </message>
    <message id="TfrmImport1.cbxSS_Abschneiden">
        <source>abschneiden</source>
        <translation>cut off</translation>
    </message>
    <message id="TfrmImport1.cbxSS_Abschneiden_li">
        <source>links</source>
        <translation>left</translation>
    </message>
    <message id="TfrmImport1.cbxSS_Abschneiden_re">
        <source>rechts</source>
        <translation>right</translation>
    </message>
    <message id="TfrmImport1.lblSS_Vorgabewert">
        <source>Vorgabewert:</source>
        <translation>Default value:</translation>
    </message>
    <message id="TfrmImport1.lblSS_Ausrichtung">
        <source>Bei numerischen Werten,  Ausrichtung:</source>
        <translation>For numeric values,  alignment:</translation>
    </message>
    <message id="TfrmImport1.cbxSS_Ausrichtung_li">
        <source>links</source>
        <translation>left</translation>
    </message>
    <message id="TfrmImport1.cbxSS_Ausrichtung_re">
        <source>rechts</source>
        <translation>right</translation>
    </message>
    <message id="TfrmImport1.cbxSS_Ausschnitt">
        <source>String nur von Stelle </source>
        <translation>Take string only from position </translation>
    </message>
    <message id="TfrmImport1.lblSS_Ausschnittbis">
        <source>bis</source>
        <translation>to</translation>
    </message>
    <message id="TfrmImport1.lblSS_Ausschnittuebern">
        <source>übernehmen.</source>
        <translation>.</translation>
    </message>
    <message id="TfrmImport1.cbxSS_Formel">
        <source>Formel  (z.B. &quot;Sehr geehrter &quot; + #Feld2 + &quot; &quot; + #Feld3):</source>
        <translation>Formula  (e.g. &quot;Dear &quot; + #Field2 + &quot; &quot; + #Field3):</translation>
    </message>
    <message id="TfrmImport1.btnSS_Zoom">
        <source>&amp;O</source>
        <translation>&amp;O</translation>
    </message>
    <message id="TfrmImport1.cbxSS_FAkt">
        <source>Zielfeld aktualisieren, wenn Datensatz bereits vorhanden ist</source>
        <translation>Update target field if the record already exists</translation>
    </message>
    <message id="TfrmImport1.btnInhaltAnz4">
        <source>&amp;Inhalte ansehen</source>
        <translation>&amp;View contents</translation>
    </message>
    <message id="TfrmImport1.btnZurueck4">
        <source>&lt;-- &amp;Zurück</source>
        <translation>&lt;-- &amp;Back</translation>
    </message>
    <message id="TfrmImport1.btnWeiter4">
        <source>&amp;Weiter --&gt;</source>
        <translation>&amp;Next --&gt;</translation>
    </message>
    <name>Programmtexte (mode and finish pages)</name>
    <message id="61450">
        <source>Die Importeinstellung &quot;%s&quot; kann nicht geladen werden.</source>
        <translation>The import setting &quot;%s&quot; cannot be loaded.</translation>
    </message>
    <message id="61451">
        <source>Der Name der Importeinstellung ist zu lang: Es sind höchstens %s Zeichen möglich.</source>
        <translation>The name of the import setting is too long: at most %s characters are possible.</translation>
    </message>
    <message id="61452">
        <source>Der Importlauf wurde abgebrochen, nachdem %s Datensätze gelesen waren.</source>
        <translation>The import run was stopped after %s records had been read.</translation>
    </message>
    <message id="61600">
        <source>Fehler</source>
        <translation>Error</translation>
    </message>
    <message id="61601">
        <source>Warnung</source>
        <translation>Warning</translation>
    </message>
    <message id="61602">
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message id="61603">
        <source>Bestätigen</source>
        <translation>Confirm</translation>
    </message>
    <message id="61604">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="61605">
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message id="61606">
        <source>&amp;Ja</source>
        <translation>&amp;Yes</translation>
    </message>
    <message id="61607">
        <source>&amp;Nein</source>
        <translation>&amp;No</translation>
    </message>
    <message id="61608">
        <source>Ja, &amp;alle</source>
        <translation>Yes to &amp;all</translation>
    </message>
    <message id="61609">
        <source>&amp;Hilfe</source>
        <translation>&amp;Help</translation>
    </message>
    <message id="61453">
        <source>Die Zieldatei enthält jetzt %s Datensätze.</source>
        <translation>The target file now holds %s records.</translation>
    </message>
    <message id="61454">
        <source>Das Dezimaltrennzeichen muss genau ein Zeichen sein, gespeichert ist &quot;%s&quot;.</source>
        <translation>The decimal separator must be exactly one character; &quot;%s&quot; is stored.</translation>
    </message>
    <message id="61455">
        <source>Das Tausendertrennzeichen muss genau ein Zeichen sein, gespeichert ist &quot;%s&quot;.</source>
        <translation>The thousands separator must be exactly one character; &quot;%s&quot; is stored.</translation>
    </message>
    <message id="61456">
        <source>Das Zeittrennzeichen muss genau ein Zeichen sein, gespeichert ist &quot;%s&quot;.</source>
        <translation>The time separator must be exactly one character; &quot;%s&quot; is stored.</translation>
    </message>
    <message id="61457">
        <source>Das Datumstrennzeichen muss genau ein Zeichen sein, gespeichert ist &quot;%s&quot;.</source>
        <translation>The date separator must be exactly one character; &quot;%s&quot; is stored.</translation>
    </message>
    <message id="61458">
        <source>Das Datumsformat fehlt.</source>
        <translation>The date format is missing.</translation>
    </message>
    <message id="61459">
        <source>Die Spaltengrenzen der Textdatei können nicht gelesen werden.</source>
        <translation>The column boundaries of the text file cannot be read.</translation>
    </message>
    <message id="61460">
        <source>Die Importlaufeigenschaft %s ist unbekannt; die Einstellung stammt wohl aus einer neueren Programmversion.</source>
        <translation>The import mode %s is unknown; the setting probably comes from a newer version of the program.</translation>
    </message>
    <message id="TfrmImport1.btnErste">
        <source>|&lt;</source>
        <translation>|&lt;</translation>
    </message>
    <message id="TfrmImport1.edtAndere.toolTip">
        <source>Anderes Feldtrennzeichen</source>
        <translation>Other field separator</translation>
    </message>
    <message id="TfrmImport1.btnErste.toolTip">
        <source>Erste Spalte</source>
        <translation>First column</translation>
    </message>
    <message id="TfrmImport1.btnLinks">
        <source>&lt;</source>
        <translation>&lt;</translation>
    </message>
    <message id="TfrmImport1.btnLinks.toolTip">
        <source>Vorherige Spalte</source>
        <translation>Previous column</translation>
    </message>
    <message id="TfrmImport1.btnRechts">
        <source>&gt;</source>
        <translation>&gt;</translation>
    </message>
    <message id="TfrmImport1.btnRechts.toolTip">
        <source>Nächste Spalte</source>
        <translation>Next column</translation>
    </message>
    <message id="TfrmImport1.btnLetzte">
        <source>&gt;|</source>
        <translation>&gt;|</translation>
    </message>
    <message id="TfrmImport1.btnLetzte.toolTip">
        <source>Letzte Spalte</source>
        <translation>Last column</translation>
    </message>
    <message id="TfrmImport1.cbxSemic">
        <source>&amp;Semikolon</source>
        <translation>&amp;Semicolon</translation>
    </message>
    <message id="TfrmImport1.cbxSpace">
        <source>&amp;Leerzeichen</source>
        <translation>S&amp;pace</translation>
    </message>
    <message id="TfrmImport1.cbxAndere">
        <source>An&amp;dere</source>
        <translation>&amp;Other</translation>
    </message>
    <message id="TfrmImport1.cbxKomma">
        <source>&amp;Komma</source>
        <translation>Co&amp;mma</translation>
    </message>
    <message id="TfrmImport1.cbxTab">
        <source>&amp;Tabulator</source>
        <translation>&amp;Tab</translation>
    </message>
    <message id="TfrmImport1.cbxErsteZeile">
        <source>&amp;Erste Zeile enthält Feldnamen</source>
        <translation>&amp;First line contains field names</translation>
    </message>
    <message id="TfrmImport1.comDelimiter.0">
        <source>(keine)</source>
        <translation>(none)</translation>
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
        <translation>Field separators</translation>
    </message>
    <message id="TfrmImport1.gbxDelimiter">
        <source>Textbegrenzer</source>
        <translation>Text qualifier</translation>
    </message>
    <message id="TfrmImport1.gbxRenameCols">
        <source>Spalten/Feldnamen &amp;umbenennen</source>
        <translation>&amp;Rename columns/field names</translation>
    </message>
    <message id="TfrmImport1.gbxTrennlinien">
        <source>Trennlinien</source>
        <translation>Column marks</translation>
    </message>
    <message id="TfrmImport1.retQuellDat.toolTip">
        <source>Inhalt der Quelldatei</source>
        <translation>Contents of the source file</translation>
    </message>
    <message id="TfrmImport1.stgQuellDatFix.toolTip">
        <source>Zeichen der Quelldatei mit den Trennlinien</source>
        <translation>Characters of the source file with the column marks</translation>
    </message>
    <message id="TfrmImport1.stgQuellDatVar.toolTip">
        <source>Vorschau der Spalten</source>
        <translation>Preview of the columns</translation>
    </message>
    <message id="TfrmImport1.lblTrennSetzen">
        <source>Setzen: einfacher Mausklick in die Spalte, hinter der ein Feld endet</source>
        <translation>Set: a single click in the column after which a field ends</translation>
    </message>
    <message id="TfrmImport1.lblTrennVerschieben">
        <source>Verschieben: Trennlinie mit gedrückter linker Maustaste ziehen</source>
        <translation>Move: drag the mark with the left mouse button held down</translation>
    </message>
    <message id="TfrmImport1.lblTrennLoeschen">
        <source>Löschen: Doppelklick auf die Trennlinie</source>
        <translation>Delete: double-click the mark</translation>
    </message>
    <message id="TfrmImport1.panHint">
        <source>Sie können nun den Spalten sinnvolle Bezeichnungen geben,
wodurch die Feldzuordnung (im nächsten Schritt) erleichtert wird.</source>
        <translation>You can now give the columns meaningful names,
which makes assigning the fields (in the next step) easier.</translation>
    </message>
</context>
<context>
    <name>TfrmImport1 (mode and finish pages)</name>
    <message id="TfrmImport1.Label18">
        <source>Daten anhängen oder aktualisieren?</source>
        <translation>Append or update data?</translation>
    </message>
    <message id="TfrmImport1.Label20">
        <source>Was soll mit den einzulesenden Datensätzen geschehen?</source>
        <translation>What should happen to the records being read?</translation>
    </message>
    <message id="TfrmImport1.Label19">
        <source>Gewählte Quelldatei:</source>
        <translation>Selected source file:</translation>
    </message>
    <message id="TfrmImport1.rbtEndeAnhaengen">
        <source>An das &amp;Ende anhängen</source>
        <translation>Append to the &amp;end</translation>
    </message>
    <message id="TfrmImport1.lblEndeAnhaengen">
        <source>Die Quelldatensätze werden an die Zieldatenbank angehängt, in
der Zieldatenbank evtl. vorhandene Daten bleiben unverändert.</source>
        <translation>The source records are appended to the target database; data
already in the target database remain unchanged.</translation>
    </message>
    <message id="TfrmImport1.rbtIgnorieren">
        <source>Vorhandene Datensätze &amp;ignorieren</source>
        <translation>&amp;Ignore existing records</translation>
    </message>
    <message id="TfrmImport1.rbtUmbenennen">
        <source>Ein&amp;lesen von Datensätzen, die bereits vorhanden sind</source>
        <translation>&amp;Read in records that already exist</translation>
    </message>
    <message id="TfrmImport1.rbtSelfInc">
        <source>Schlüsselwerte &amp;selbständig erhöhen</source>
        <translation>Increase key values &amp;automatically</translation>
    </message>
    <message id="TfrmImport1.lblStartwert">
        <source>S&amp;tartwert für das indizierte Tabellenfeld</source>
        <translation>Start &amp;value for the indexed table field</translation>
    </message>
    <message id="TfrmImport1.edtStartwert.toolTip">
        <source>Bitte geben Sie einen Startwert ein, ab dem die bereits
vorhandenen Schlüsselwerte hochgezählt werden
können.</source>
        <translation>Please enter a start value from which the existing
key values can be counted up.</translation>
    </message>
    <message id="TfrmImport1.btnInhaltAnz5">
        <source>---</source>
        <translation>---</translation>
    </message>
    <message id="TfrmImport1.btnInhaltAnz5.toolTip">
        <source>Zieldatenbank anzeigen</source>
        <translation>Show target database</translation>
    </message>
    <message id="TfrmImport1.rbtAktualisieren">
        <source>A&amp;ktualisieren der Zieldatenbank</source>
        <translation>&amp;Update the target database</translation>
    </message>
    <message id="TfrmImport1.lblAktualisieren">
        <source>In der Zieldatenbank vorhandene Daten werden aktualisiert  (z. B. Artikelpreise),
noch nicht vorhandene Datensätze werden hinzugefügt.</source>
        <translation>Data in the target database are updated (e.g. article prices),
records not yet present are added.</translation>
    </message>
    <message id="TfrmImport1.lblAktNichtMoeglich">
        <source>Sie haben die Einstellung &quot;Zieldatenbank vor dem Import leeren&quot; gewählt.
Die Option &quot;Zieldatenbank aktualisieren&quot; ist deshalb nicht möglich.</source>
        <translation>You have chosen the setting &quot;Empty target database before import&quot;.
The option &quot;Update target database&quot; is therefore not possible.</translation>
    </message>
    <message id="TfrmImport1.rbtKeinImport">
        <source>Keinen Import durchführen (nur Einstellungen speichern)</source>
        <translation>Do not import (only save the settings)</translation>
    </message>
    <message id="TfrmImport1.cbxNeueMark">
        <source>neue Datensätze markieren:</source>
        <translation>mark new records:</translation>
    </message>
    <message id="TfrmImport1.cbxAktMark">
        <source>aktualisierte Datensätze markieren:</source>
        <translation>mark updated records:</translation>
    </message>
    <message id="TfrmImport1.cbxNichtAktMark">
        <source>nicht aktualisierte Datensätze markieren:</source>
        <translation>mark records not updated:</translation>
    </message>
    <message id="TfrmImport1.lblNeueMark">
        <source>Feld</source>
        <translation>Field</translation>
    </message>
    <message id="TfrmImport1.lblAktMark">
        <source>Feld</source>
        <translation>Field</translation>
    </message>
    <message id="TfrmImport1.lblNichtAktMark">
        <source>Feld</source>
        <translation>Field</translation>
    </message>
    <message id="TfrmImport1.btnZurueck5">
        <source>&lt;-- &amp;Zurück</source>
        <translation>&lt;-- &amp;Back</translation>
    </message>
    <message id="TfrmImport1.btnWeiter5">
        <source>&amp;Weiter --&gt;</source>
        <translation>&amp;Next --&gt;</translation>
    </message>
    <message id="TfrmImport1.lblImpSpeich">
        <source>Die Importeinstellung ist vollständig.</source>
        <translation>The import setting is complete.</translation>
    </message>
    <message id="TfrmImport1.lblImporteinst">
        <source>Importeinstellungen speichern &amp;unter:</source>
        <translation>Save import settings &amp;as:</translation>
    </message>
    <message id="TfrmImport1.btnBemerkung">
        <source>&amp;Bemerkung</source>
        <translation>&amp;Remark</translation>
    </message>
    <message id="TfrmImport1.lblBemerkung">
        <source>&amp;Bemerkung</source>
        <translation>&amp;Remark</translation>
    </message>
    <message id="TfrmImport1.btnBemerkSpeichern">
        <source>&amp;Speichern</source>
        <translation>&amp;Save</translation>
    </message>
    <message id="TfrmImport1.btnBemerkVerwerfen">
        <source>&amp;Verwerfen</source>
        <translation>&amp;Discard</translation>
    </message>
    <message id="TfrmImport1.rbtTabAnz">
        <source>&amp;Tabellen nach Import anzeigen</source>
        <translation>Show &amp;tables after import</translation>
    </message>
    <message id="TfrmImport1.rbtTabNichtAnz">
        <source>Tabellen nach Import &amp;nicht anzeigen</source>
        <translation>Do n&amp;ot show tables after import</translation>
    </message>
    <message id="TfrmImport1.btnZurueck6">
        <source>&lt;-- &amp;Zurück</source>
        <translation>&lt;-- &amp;Back</translation>
    </message>
    <message id="TfrmImport1.btnFertigstellen">
        <source>&amp;Fertigstellen</source>
        <translation>&amp;Finish</translation>
    </message>
</context>
<context>
    <name>Zuordnungsseite</name>
    <message id="61380">
        <source>Das Quellfeld &quot;%s&quot; ist nur %s Zeichen lang: eine Stelle %s gibt es darin nicht.&#13;
Bitte geben Sie eine Stelle von 1 bis %s ein.</source>
        <translation>The source field &quot;%s&quot; is only %s characters long: it has no position %s.&#13;
Please enter a position from 1 to %s.</translation>
    </message>
    <message id="61381">
        <source>Der Vorgabewert &quot;%s&quot; passt nicht in das Zielfeld &quot;%s&quot; vom Typ &quot;%s&quot;.&#13;
Bitte geben Sie einen Wert wie &quot;%s&quot; ein.</source>
        <translation>The default value &quot;%s&quot; does not fit the target field &quot;%s&quot; of type &quot;%s&quot;.&#13;
Please enter a value such as &quot;%s&quot;.</translation>
    </message>
    <message id="ZStrukt.Index">
        <source>Index</source>
        <translation>Index</translation>
    </message>
    <message id="ZStrukt.Feldname">
        <source>Feldname </source>
        <translation>Field name </translation>
    </message>
    <message id="ZStrukt.Laenge">
        <source>Länge </source>
        <translation>Length </translation>
    </message>
    <message id="ZStrukt.Typbezeichnung">
        <source>Typ </source>
        <translation>Type </translation>
    </message>
    <message id="ZStrukt.Zuordnung">
        <source>Zuordnung </source>
        <translation>Assignment </translation>
    </message>
    <message id="QStrukt.Index">
        <source>Index</source>
        <translation>Index</translation>
    </message>
    <message id="QStrukt.Feldname">
        <source>Feldname </source>
        <translation>Field name </translation>
    </message>
    <message id="QStrukt.Typbezeichnung">
        <source>Typ </source>
        <translation>Type </translation>
    </message>
    <message id="QStrukt.Laenge">
        <source>Länge </source>
        <translation>Length </translation>
    </message>
    <message id="ImpList.Bezeichnung">
        <source>Bezeichnung</source>
        <translation>Name</translation>
    </message>
    <message id="ImpList.Quellformat">
        <source>Quellformat</source>
        <translation>Source format</translation>
    </message>
    <message id="ImpList.Quelldatei">
        <source>Quelldatei</source>
        <translation>Source file</translation>
    </message>
    <message id="ImpList.Zieldatei">
        <source>Zieldatei</source>
        <translation>Target file</translation>
    </message>
</context>
<context>
    <name>TfrmImport1 (names for screen readers)</name>
    <message id="TfrmImport1.comQuelle.toolTip">
        <source>Schnellauswahl der Quelldatei</source>
        <translation>Quick choice of the source file</translation>
    </message>
    <message id="TfrmImport1.comZiel.toolTip">
        <source>Schnellauswahl der Zieldatei</source>
        <translation>Quick choice of the target file</translation>
    </message>
    <message id="TfrmImport1.ImportSeite4.accessibleName">
        <source>Felder zuordnen</source>
        <translation>Assign fields</translation>
    </message>
    <message id="TfrmImport1.TXTDatensatzlaenge.accessibleName">
        <source>Textdateien: Feldlänge</source>
        <translation>Text files: field length</translation>
    </message>
    <message id="TfrmImport1.TXTFix.accessibleName">
        <source>Textdateien: Spalten festlegen</source>
        <translation>Text files: set the columns</translation>
    </message>
    <message id="TfrmImport1.TXTVariabel.accessibleName">
        <source>Textdateien: Trennzeichen und Feldnamen</source>
        <translation>Text files: separators and field names</translation>
    </message>
</context>
</TS>
