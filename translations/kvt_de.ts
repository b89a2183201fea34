<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>HandView</name>
    <message>
        <source>&amp;Discard</source>
        <translation>&amp;Ablegen</translation>
    </message>
    <message>
        <source>Error in AdjustPlayerGrid</source>
        <translation>Fehler in AdjustPlayerGrid</translation>
    </message>
</context>
<context>
    <name>kvt::AboutDlg</name>
    <message>
        <source>About KVT</source>
        <translation>Über KVT</translation>
    </message>
    <message>
        <source>&lt;h2&gt;KVT&lt;/h2&gt;</source>
        <translation>&lt;h2&gt;KVT&lt;/h2&gt;</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>A card table for four: you and three computer opponents. The cards and what they do come from the card set in force; card sets and players are made with kvx.</source>
        <translation>Ein Kartentisch für vier: Sie und drei Computergegner. Die Karten und was sie bewirken stammen aus dem geladenen Kartensatz; Kartensätze und Spieler entstehen mit kvx.</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
</context>
<context>
    <name>kvt::CardViewFrm</name>
    <message>
        <source>View</source>
        <translation>Ansicht</translation>
    </message>
    <message>
        <source>Point Value:</source>
        <translation>Punktwert:</translation>
    </message>
    <message>
        <source>PLAYABLE</source>
        <translation>SPIELBAR</translation>
    </message>
    <message>
        <source>Point at one of your cards to see it here.</source>
        <translation>Zeigen Sie auf eine Ihrer Karten, um sie hier zu sehen.</translation>
    </message>
    <message>
        <source>Pass%1 Cards Left</source>
        <translation>Weitergeben:%1 Karten nach links</translation>
    </message>
    <message>
        <source>Pass%1  Cards Right</source>
        <translation>Weitergeben:%1 Karten nach rechts</translation>
    </message>
    <message>
        <source>Pass%1  Cards Across</source>
        <translation>Weitergeben:%1 Karten nach gegenüber</translation>
    </message>
    <message>
        <source>Draw%1  Cards From Deck</source>
        <translation>Ziehen:%1 Karten vom Stapel</translation>
    </message>
    <message>
        <source>Draw%1  Cards From RIGHT</source>
        <translation>Ziehen:%1 Karten von RECHTS</translation>
    </message>
    <message>
        <source>Draw%1  Cards From LEFT</source>
        <translation>Ziehen:%1 Karten von LINKS</translation>
    </message>
    <message>
        <source>Draw%1  Cards From ACROSS</source>
        <translation>Ziehen:%1 Karten von GEGENÜBER</translation>
    </message>
    <message>
        <source>Discard Cards</source>
        <translation>Karten abwerfen</translation>
    </message>
    <message>
        <source>Discard%1 Cards</source>
        <translation>Abwerfen:%1 Karten</translation>
    </message>
    <message>
        <source>Skip Next Player</source>
        <translation>Nächster Spieler setzt aus</translation>
    </message>
    <message>
        <source>Reverse Direction of Play</source>
        <translation>Spielrichtung umkehren</translation>
    </message>
</context>
<context>
    <name>kvt::DirectionPicture</name>
    <message>
        <source>Play goes to the right</source>
        <translation>Es wird nach rechts gespielt</translation>
    </message>
    <message>
        <source>Play goes to the left</source>
        <translation>Es wird nach links gespielt</translation>
    </message>
</context>
<context>
    <name>kvt::GameInFo</name>
    <message>
        <source>Game Information</source>
        <translation>Spielinformationen</translation>
    </message>
    <message>
        <source>Game Title</source>
        <translation>Spieltitel</translation>
    </message>
    <message>
        <source>Author&apos;s Name</source>
        <translation>Name des Autors</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
</context>
<context>
    <name>kvt::GameOverFrm</name>
    <message>
        <source>Game Over</source>
        <translation>Spielende</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>%1 wins the game!</source>
        <translation>%1 gewinnt das Spiel!</translation>
    </message>
</context>
<context>
    <name>kvt::HelpWindow</name>
    <message>
        <source>KVT Help</source>
        <translation>KVT-Hilfe</translation>
    </message>
    <message>
        <source>Navigation</source>
        <translation>Navigation</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>&amp;Forward</source>
        <translation>Vor</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Inhalt</translation>
    </message>
    <message>
        <source>KVT Help - %1</source>
        <translation>KVT-Hilfe - %1</translation>
    </message>
    <message>
        <source>&lt;h2&gt;Help page not found&lt;/h2&gt;&lt;p&gt;The page &lt;b&gt;%1&lt;/b&gt; is not in the help folder %2.&lt;/p&gt;</source>
        <translation>&lt;h2&gt;Hilfeseite nicht gefunden&lt;/h2&gt;&lt;p&gt;Die Seite &lt;b&gt;%1&lt;/b&gt; steht nicht im Hilfeordner %2.&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>kvt::NameFrm</name>
    <message>
        <source>Enter Name</source>
        <translation>Name eingeben</translation>
    </message>
    <message>
        <source>Please Enter Your Name:</source>
        <translation>Bitte geben Sie Ihren Namen ein:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
</context>
<context>
    <name>kvt::PlaySpdFrm</name>
    <message>
        <source>Play Speed</source>
        <translation>Spieltempo</translation>
    </message>
    <message>
        <source>Adjust the speed of Cards being Played.</source>
        <translation>Stellen Sie ein, wie schnell die Karten gespielt werden.</translation>
    </message>
    <message>
        <source>Slow</source>
        <translation>Langsam</translation>
    </message>
    <message>
        <source>Fast</source>
        <translation>Schnell</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
</context>
<context>
    <name>kvt::PlayWin</name>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>S&amp;hare This Deal...</source>
        <translation>Dieses Spiel &amp;teilen...</translation>
    </message>
    <message>
        <source>&amp;Open Deal...</source>
        <translation>Geteiltes Spiel ö&amp;ffnen...</translation>
    </message>
    <message>
        <source>KVT Deals (*.kvtdeal);;All Files (*)</source>
        <translation>KVT-Spiele (*.kvtdeal);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Share This Deal</source>
        <translation>Dieses Spiel teilen</translation>
    </message>
    <message>
        <source>Open Deal</source>
        <translation>Geteiltes Spiel öffnen</translation>
    </message>
    <message>
        <source>There is no deal on the table to share.</source>
        <translation>Auf dem Tisch liegt kein Spiel, das geteilt werden kann.</translation>
    </message>
    <message>
        <source>The deal was written to &quot;%1&quot;.</source>
        <translation>Das Spiel wurde in „%1“ geschrieben.</translation>
    </message>
    <message>
        <source>The deal in &quot;%1&quot; cannot be dealt: %2.</source>
        <translation>Das Spiel in „%1“ kann nicht gegeben werden: %2.</translation>
    </message>
    <message>
        <source>The game in progress cannot be kept for the next start: %1</source>
        <translation>Das laufende Spiel kann nicht für den nächsten Start aufbewahrt werden: %1</translation>
    </message>
    <message>
        <source>The game in progress of the last run cannot go on: %1. It was set aside as &quot;%2&quot;; a new game is dealt.</source>
        <translation>Das laufende Spiel des letzten Starts kann nicht weitergehen: %1. Es wurde als „%2“ beiseitegelegt; ein neues Spiel wird gegeben.</translation>
    </message>
    <message>
        <source>The game goes on where you left it.</source>
        <translation>Das Spiel geht dort weiter, wo Sie aufgehört haben.</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederholen</translation>
    </message>
    <message>
        <source>Your last move was taken back.</source>
        <translation>Ihr letzter Zug wurde zurückgenommen.</translation>
    </message>
    <message>
        <source>Your move was played again.</source>
        <translation>Ihr Zug wurde erneut gespielt.</translation>
    </message>
    <message>
        <source>&amp;New Game</source>
        <translation>&amp;Neues Spiel</translation>
    </message>
    <message>
        <source>&amp;Load Card Set</source>
        <translation>Kartensatz &amp;laden</translation>
    </message>
    <message>
        <source>&amp;Define Cards</source>
        <translation>Karten &amp;definieren</translation>
    </message>
    <message>
        <source>&amp;Choose Players</source>
        <translation>&amp;Spieler wählen</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Optionen</translation>
    </message>
    <message>
        <source>S&amp;ort Cards</source>
        <translation>Karten &amp;sortieren</translation>
    </message>
    <message>
        <source>&amp;Sounds</source>
        <translation>&amp;Klänge</translation>
    </message>
    <message>
        <source>&amp;Player Sounds</source>
        <translation>&amp;Spielerstimmen</translation>
    </message>
    <message>
        <source>&amp;Opening Music</source>
        <translation>&amp;Eröffnungsmusik</translation>
    </message>
    <message>
        <source>&amp;Card Viewer</source>
        <translation>Karten&amp;betrachter</translation>
    </message>
    <message>
        <source>&amp;Game Speed</source>
        <translation>Spiel&amp;tempo</translation>
    </message>
    <message>
        <source>&amp;Score</source>
        <translation>&amp;Punkte</translation>
    </message>
    <message>
        <source>&amp;View Score</source>
        <translation>Punkte &amp;anzeigen</translation>
    </message>
    <message>
        <source>S&amp;tatistics...</source>
        <translation>S&amp;tatistik...</translation>
    </message>
    <message>
        <source>The statistics in &quot;%1&quot; cannot be read: %2. They were set aside as &quot;%3&quot;; new statistics are kept.</source>
        <translation>Die Statistik in „%1“ kann nicht gelesen werden: %2. Sie wurde als „%3“ beiseitegelegt; eine neue Statistik wird geführt.</translation>
    </message>
    <message>
        <source>The statistics in &quot;%1&quot; cannot be kept: %2</source>
        <translation>Die Statistik in „%1“ kann nicht geführt werden: %2</translation>
    </message>
    <message>
        <source>The statistics in &quot;%1&quot; cannot be written: %2</source>
        <translation>Die Statistik in „%1“ kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Statistics</source>
        <translation>Statistik</translation>
    </message>
    <message>
        <source>The statistics in &quot;%1&quot; cannot be kept in this run.</source>
        <translation>Die Statistik in „%1“ kann bei diesem Start nicht geführt werden.</translation>
    </message>
    <message>
        <source>Reset Statistics</source>
        <translation>Statistik zurücksetzen</translation>
    </message>
    <message>
        <source>All games and rounds recorded so far are deleted. Reset the statistics?</source>
        <translation>Alle bisher aufgezeichneten Spiele und Runden werden gelöscht. Statistik zurücksetzen?</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Inhalt</translation>
    </message>
    <message>
        <source>About &amp;KVT</source>
        <translation>Über &amp;KVT</translation>
    </message>
    <message>
        <source>&amp;About Current Game</source>
        <translation>Über das &amp;aktuelle Spiel</translation>
    </message>
    <message>
        <source>KVT</source>
        <translation>KVT</translation>
    </message>
    <message>
        <source>KVT - %1</source>
        <translation>KVT - %1</translation>
    </message>
    <message>
        <source>%1, by %2</source>
        <translation>%1, von %2</translation>
    </message>
    <message>
        <source>Shuffling Cards......</source>
        <translation>Karten werden gemischt......</translation>
    </message>
    <message>
        <source>Loading Card Set........</source>
        <translation>Kartensatz wird geladen........</translation>
    </message>
    <message>
        <source>Loading players file.....</source>
        <translation>Spielerdatei wird geladen.....</translation>
    </message>
    <message>
        <source>Choose a card from Player - %1</source>
        <translation>Wählen Sie eine Karte von %1</translation>
    </message>
    <message>
        <source>Player %1</source>
        <translation>Spieler %1</translation>
    </message>
    <message>
        <source>That follows when this move is over.</source>
        <translation>Das folgt, wenn dieser Zug vorbei ist.</translation>
    </message>
    <message>
        <source>The new players join when this move is over.</source>
        <translation>Die neuen Spieler kommen dazu, wenn dieser Zug vorbei ist.</translation>
    </message>
    <message>
        <source>Load Card Set</source>
        <translation>Kartensatz laden</translation>
    </message>
    <message>
        <source>Card Files (*.cds);;All Files (*)</source>
        <translation>Kartensätze (*.cds);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Game Designer</source>
        <translation>Spiel-Designer</translation>
    </message>
    <message>
        <source>Error Launching Corvane Game Designer</source>
        <translation>Fehler beim Starten des Corvane Game Designer</translation>
    </message>
    <message>
        <source>Please ensure the designer is installed.</source>
        <translation>Bitte stellen Sie sicher, dass der Designer installiert ist.</translation>
    </message>
    <message>
        <source>The card pictures in &quot;%1&quot; cannot be read; the cards are shown blank.</source>
        <translation>Die Kartenbilder in &quot;%1&quot; lassen sich nicht lesen; die Karten bleiben leer.</translation>
    </message>
    <message>
        <source>its card pictures are not a bitmap that can be shown.</source>
        <translation>seine Kartenbilder sind keine Bitmap, die sich anzeigen lässt.</translation>
    </message>
    <message>
        <source>Open &amp;Game Record...</source>
        <translation>Spiel&amp;aufzeichnung öffnen...</translation>
    </message>
    <message>
        <source>Open Game Record</source>
        <translation>Spielaufzeichnung öffnen</translation>
    </message>
    <message>
        <source>KVT Game Records (*.kvtgame);;All Files (*)</source>
        <translation>KVT-Spielaufzeichnungen (*.kvtgame);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Showing the game record &quot;%1&quot;.</source>
        <translation>Die Spielaufzeichnung „%1“ wird gezeigt.</translation>
    </message>
    <message>
        <source>Move 0 of %1:
the table as dealt</source>
        <translation>Zug 0 von %1:
der Tisch, wie er gegeben wurde</translation>
    </message>
    <message>
        <source>%1 plays %2</source>
        <translation>%1 spielt %2</translation>
    </message>
    <message>
        <source>%1 plays</source>
        <translation>%1 spielt</translation>
    </message>
    <message>
        <source>%1 draws</source>
        <translation>%1 zieht</translation>
    </message>
    <message>
        <source>%1 takes a card from %2</source>
        <translation>%1 nimmt eine Karte von %2</translation>
    </message>
    <message>
        <source>%1 names a group</source>
        <translation>%1 nennt eine Gruppe</translation>
    </message>
    <message>
        <source>%1 passes</source>
        <translation>%1 setzt aus</translation>
    </message>
    <message>
        <source>The score is taken; the next round is dealt</source>
        <translation>Der Punktestand ist bestätigt; die nächste Runde wird gegeben</translation>
    </message>
    <message>
        <source>Move %1 of %2:
%3</source>
        <translation>Zug %1 von %2:
%3</translation>
    </message>
    <message>
        <source>; %1 wins the game</source>
        <translation>; %1 gewinnt das Spiel</translation>
    </message>
</context>
<context>
    <name>kvt::PlayerSel</name>
    <message>
        <source>Choose Players</source>
        <translation>Spieler wählen</translation>
    </message>
    <message>
        <source>Click and Drag a player to one of the computer screens below:</source>
        <translation>Ziehen Sie einen Spieler auf einen der Bildschirme unten:</translation>
    </message>
    <message>
        <source>Double-click a player to see and hear it; drag it onto a screen to seat it.</source>
        <translation>Doppelklicken Sie auf einen Spieler, um ihn zu sehen und zu hören; ziehen Sie ihn auf einen Bildschirm, um ihn dort Platz nehmen zu lassen.</translation>
    </message>
    <message>
        <source>Use &amp;sample opponents</source>
        <translation>&amp;Beispielgegner nehmen</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>KVT</source>
        <translation>KVT</translation>
    </message>
    <message>
        <source>Player %1 has not been chosen .</source>
        <translation>Spieler %1 wurde nicht gewählt.</translation>
    </message>
</context>
<context>
    <name>kvt::ReplayBar</name>
    <message>
        <source>Game Record</source>
        <translation>Spielaufzeichnung</translation>
    </message>
    <message>
        <source>First</source>
        <translation>Anfang</translation>
    </message>
    <message>
        <source>The table as it was dealt</source>
        <translation>Der Tisch, wie er gegeben wurde</translation>
    </message>
    <message>
        <source>&amp;Back</source>
        <translation>&amp;Zurück</translation>
    </message>
    <message>
        <source>One move back</source>
        <translation>Einen Zug zurück</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>&amp;Vor</translation>
    </message>
    <message>
        <source>One move on</source>
        <translation>Einen Zug weiter</translation>
    </message>
    <message>
        <source>Last</source>
        <translation>Ende</translation>
    </message>
    <message>
        <source>The end of the game</source>
        <translation>Das Ende des Spiels</translation>
    </message>
    <message>
        <source>Close Replay</source>
        <translation>Wiedergabe schließen</translation>
    </message>
    <message>
        <source>Back to the game in progress (Esc)</source>
        <translation>Zurück zum laufenden Spiel (Esc)</translation>
    </message>
</context>
<context>
    <name>kvt::ScoreFrm</name>
    <message>
        <source>Score</source>
        <translation>Punkte</translation>
    </message>
    <message>
        <source>Score Sheet</source>
        <translation>Punktetabelle</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
</context>
<context>
    <name>kvt::SeatScreen</name>
    <message>
        <source>Drop a player here to seat Player %1</source>
        <translation>Legen Sie hier einen Spieler ab, um ihn als Spieler %1 zu setzen</translation>
    </message>
    <message>
        <source>Player %1</source>
        <translation>Spieler %1</translation>
    </message>
    <message>
        <source>(no name)</source>
        <translation>(ohne Namen)</translation>
    </message>
    <message>
        <source>empty seat</source>
        <translation>freier Platz</translation>
    </message>
</context>
<context>
    <name>kvt::StatisticsFrm</name>
    <message>
        <source>Statistics</source>
        <translation>Statistik</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Games</source>
        <translation>Spiele</translation>
    </message>
    <message>
        <source>Wins</source>
        <translation>Siege</translation>
    </message>
    <message>
        <source>Rounds</source>
        <translation>Runden</translation>
    </message>
    <message>
        <source>Average</source>
        <translation>Durchschnitt</translation>
    </message>
    <message>
        <source>Best</source>
        <translation>Bestwert</translation>
    </message>
    <message>
        <source>With undo</source>
        <translation>Mit Zurücknehmen</translation>
    </message>
    <message>
        <source>Card set</source>
        <translation>Kartensatz</translation>
    </message>
    <message>
        <source>Seat</source>
        <translation>Platz</translation>
    </message>
    <message>
        <source>&amp;Opponents</source>
        <translation>&amp;Gegner</translation>
    </message>
    <message>
        <source>&amp;Card Sets</source>
        <translation>&amp;Kartensätze</translation>
    </message>
    <message>
        <source>S&amp;eats</source>
        <translation>&amp;Plätze</translation>
    </message>
    <message>
        <source>Opponent</source>
        <translation>Gegner</translation>
    </message>
    <message>
        <source>You lower</source>
        <translation>Sie niedriger</translation>
    </message>
    <message>
        <source>They lower</source>
        <translation>Gegner niedriger</translation>
    </message>
    <message>
        <source>&amp;Head to Head</source>
        <translation>&amp;Direktvergleich</translation>
    </message>
    <message>
        <source>&amp;Reset...</source>
        <translation>&amp;Zurücksetzen...</translation>
    </message>
    <message>
        <source>1 (you)</source>
        <translation>1 (Sie)</translation>
    </message>
    <message>
        <source>The statistics in &quot;%1&quot; cannot be reset: %2</source>
        <translation>Die Statistik in „%1“ kann nicht zurückgesetzt werden: %2</translation>
    </message>
</context>
<context>
    <name>kvt::TotalsChart</name>
    <message>
        <source>No finished games yet.</source>
        <translation>Noch keine beendeten Spiele.</translation>
    </message>
    <message>
        <source>Your total per game (the last %1)</source>
        <translation>Ihre Punkte je Spiel (die letzten %1)</translation>
    </message>
</context>
<context>
    <name>kvt::WildCardFrm</name>
    <message>
        <source>Choose Card</source>
        <translation>Karte wählen</translation>
    </message>
    <message>
        <source>Choose the group the next player must follow:</source>
        <translation>Wählen Sie die Gruppe, die der nächste Spieler bedienen muss:</translation>
    </message>
    <message>
        <source>Group </source>
        <translation>Gruppe </translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>KVT</source>
        <translation>KVT</translation>
    </message>
    <message>
        <source>No Group has been Selected</source>
        <translation>Es wurde keine Gruppe gewählt</translation>
    </message>
</context>
</TS>
