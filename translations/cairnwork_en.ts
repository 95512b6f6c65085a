<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="pl">
<context>
    <name>cw::ui::ObjectTextureModel</name>
    <message>
        <source>Tekstura %1</source>
        <translation>Texture %1</translation>
    </message>
</context>
<context>
    <name>cw::ui::RoomView3D</name>
    <message>
        <source>Lewy przycisk: obrót, środkowy lub Shift + lewy: przesunięcie, kółko: przybliżenie, Home lub R: widok od nowa</source>
        <translation>Left button: orbit, middle or Shift + left: pan, wheel: zoom, Home or R: reset the view</translation>
    </message>
</context>
<context>
    <name>cw::ui::TForm1</name>
    <message>
        <source>Vellorn&apos;s Cairnwork v.PL</source>
        <translation>Vellorn&apos;s Cairnwork</translation>
    </message>
    <message>
        <source>Dodaj nowe pomieszczenie</source>
        <translation>Add a new room</translation>
    </message>
    <message>
        <source>Edytuj właściwości pomieszczenia</source>
        <translation>Edit the room&apos;s properties</translation>
    </message>
    <message>
        <source>KLONUJ</source>
        <translation>CLONE</translation>
    </message>
    <message>
        <source>Klonuj aktualne pomieszczenie</source>
        <translation>Clone the current room</translation>
    </message>
    <message>
        <source>USUŃ</source>
        <translation>DELETE</translation>
    </message>
    <message>
        <source>Usuń ostatni pokój</source>
        <translation>Delete the last room</translation>
    </message>
    <message>
        <source>   Pozycja</source>
        <translation>   Position</translation>
    </message>
    <message>
        <source>EDYCJA</source>
        <translation>EDIT</translation>
    </message>
    <message>
        <source>Edytuj zaznaczone pomieszczenie</source>
        <translation>Edit the selected room</translation>
    </message>
    <message>
        <source>Wybierz pomieszczenie</source>
        <translation>Choose a room</translation>
    </message>
    <message>
        <source>Lewym przyciskiem myszy przesuń pomieszczenie</source>
        <translation>Drag with the left mouse button to move the room</translation>
    </message>
    <message>
        <source>&amp;Plik</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Nowy</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>&amp;Otwórz</source>
        <translation>&amp;Open</translation>
    </message>
    <message>
        <source>&amp;Zapisz</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>Zapisz &amp;jako</source>
        <translation>Save &amp;As</translation>
    </message>
    <message>
        <source>&amp;Buduj Level</source>
        <translation>&amp;Build Level</translation>
    </message>
    <message>
        <source>Z&amp;akończ</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>&amp;Edycja</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>&amp;Dodaj pomieszczenie</source>
        <translation>&amp;Add Room</translation>
    </message>
    <message>
        <source>&amp;Właściwości</source>
        <translation>&amp;Properties</translation>
    </message>
    <message>
        <source>&amp;Edytuj pomieszczenie</source>
        <translation>&amp;Edit Room</translation>
    </message>
    <message>
        <source>&amp;Informacje</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>&amp;Informacje...</source>
        <translation>&amp;About Cairnwork...</translation>
    </message>
    <message>
        <source>Wczytaj &amp;tekstury poziomu bazowego</source>
        <translation>Load Base Level &amp;Textures</translation>
    </message>
</context>
<context>
    <name>cw::ui::TForm2</name>
    <message>
        <source>Właściwości pomieszczenia</source>
        <translation>Room Properties</translation>
    </message>
    <message>
        <source>Długoćś pomieszczenia Z</source>
        <translation>Length of the room along Z</translation>
    </message>
    <message>
        <source>Długość pomieszczenia X</source>
        <translation>Width of the room along X</translation>
    </message>
    <message>
        <source>Opis pomieszczenia</source>
        <translation>Name of the room</translation>
    </message>
    <message>
        <source>Woda</source>
        <translation>Water</translation>
    </message>
    <message>
        <source>Tworzy pomieszczenie zalane wodą</source>
        <translation>Makes a room filled with water</translation>
    </message>
    <message>
        <source>Wiatr/Deszcz </source>
        <translation>Wind/Rain </translation>
    </message>
    <message>
        <source>Tworzy powiewy wiatru TR2 i padający deszczTR3</source>
        <translation>Makes gusts of wind in TR2 and falling rain in TR3</translation>
    </message>
    <message>
        <source>Bagno</source>
        <translation>Swamp</translation>
    </message>
    <message>
        <source>Tworzy pomieszczenie zalane bagnem</source>
        <translation>Makes a room filled with swamp</translation>
    </message>
    <message>
        <source>Niebo</source>
        <translation>Sky</translation>
    </message>
    <message>
        <source>Tworzy horyzont</source>
        <translation>Shows the sky above the room</translation>
    </message>
    <message>
        <source>Oświetlenie przedmiotów w pomieszczeniu</source>
        <translation>Light of the items in the room</translation>
    </message>
    <message>
        <source>Oświetlenie podłogi/ścian</source>
        <translation>Light of the floor and walls</translation>
    </message>
    <message>
        <source>Domyślny numer textury</source>
        <translation>Default texture number</translation>
    </message>
    <message>
        <source>ODWOŁAJ</source>
        <translation>CANCEL</translation>
    </message>
    <message>
        <source>Długość</source>
        <translation>Length</translation>
    </message>
    <message>
        <source>Szeokość</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>Domyślna wysokość podłogi</source>
        <translation>Default floor height</translation>
    </message>
    <message>
        <source>Domyślna wysokość sufitu</source>
        <translation>Default ceiling height</translation>
    </message>
    <message>
        <source>Oświetlenie Lary</source>
        <translation>Lara&apos;s light</translation>
    </message>
    <message>
        <source>Oświetlenie pomieszczenia</source>
        <translation>Room light</translation>
    </message>
    <message>
        <source>Podłoga</source>
        <translation>Floor</translation>
    </message>
    <message>
        <source>Sufit</source>
        <translation>Ceiling</translation>
    </message>
    <message>
        <source>Textura przodu</source>
        <translation>Front texture</translation>
    </message>
    <message>
        <source>Textura tyłu</source>
        <translation>Back texture</translation>
    </message>
    <message>
        <source>Textura lewa</source>
        <translation>Left texture</translation>
    </message>
    <message>
        <source>Textura prawa</source>
        <translation>Right texture</translation>
    </message>
    <message>
        <source>Texura góry/dołu</source>
        <translation>Top/bottom texture</translation>
    </message>
    <message>
        <source>Nazwa pomieszczenia</source>
        <translation>Room name</translation>
    </message>
</context>
<context>
    <name>cw::ui::TForm3</name>
    <message>
        <source>Przód</source>
        <translation>Front</translation>
    </message>
    <message>
        <source>Tył</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>Lewa</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>Prawa</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>Góra</source>
        <translation>Top</translation>
    </message>
    <message>
        <source>Kliknij do edycji podłogi i sufitu</source>
        <translation>Click to edit the floor and the ceiling</translation>
    </message>
    <message>
        <source>Widok góra/dół</source>
        <translation>Top/Bottom View</translation>
    </message>
    <message>
        <source>Widok tył/przód</source>
        <translation>Back/Front View</translation>
    </message>
    <message>
        <source>Widok lewy/prawy</source>
        <translation>Left/Right View</translation>
    </message>
    <message>
        <source>Kliknij dla wybrania wysokości podłogi/sufitu</source>
        <translation>Click to set the floor (left button) or ceiling (right button) height</translation>
    </message>
    <message>
        <source>Zachód</source>
        <translation>West</translation>
    </message>
    <message>
        <source>Wschód</source>
        <translation>East</translation>
    </message>
    <message>
        <source>Rząd</source>
        <translation>Row</translation>
    </message>
    <message>
        <source>Zaznacz rząd do edycji</source>
        <translation>The row to edit</translation>
    </message>
    <message>
        <source>Północ</source>
        <translation>North</translation>
    </message>
    <message>
        <source>Południe</source>
        <translation>South</translation>
    </message>
    <message>
        <source>Kolumna</source>
        <translation>Column</translation>
    </message>
    <message>
        <source>Zaznacz kolumnę do edycji</source>
        <translation>The column to edit</translation>
    </message>
    <message>
        <source>Widok portali</source>
        <translation>Portals</translation>
    </message>
    <message>
        <source>Widok z portalu przy północnej ścianie</source>
        <translation>Portal in the north wall</translation>
    </message>
    <message>
        <source>Widok z portalu przy południowej ścianie</source>
        <translation>Portal in the south wall</translation>
    </message>
    <message>
        <source>Widok z portalu przy zachodniej ścianie</source>
        <translation>Portal in the west wall</translation>
    </message>
    <message>
        <source>Widok z portalu przy wschodniej ścianie</source>
        <translation>Portal in the east wall</translation>
    </message>
    <message>
        <source>Widok z portalu na suficie</source>
        <translation>Portal in the ceiling</translation>
    </message>
    <message>
        <source>Dół</source>
        <translation>Bottom</translation>
    </message>
    <message>
        <source>Widok z portalu na podłodze</source>
        <translation>Portal in the floor</translation>
    </message>
    <message>
        <source>Widok z portalu do pomieszczenia nr.</source>
        <translation>Number of the room the portal leads into</translation>
    </message>
    <message>
        <source>Szer.</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>Szerokość portalu</source>
        <translation>Width of the portal</translation>
    </message>
    <message>
        <source>Dł./Wys.</source>
        <translation>Len./Hgt.</translation>
    </message>
    <message>
        <source>Długość/Wysokość portalu</source>
        <translation>Length or height of the portal</translation>
    </message>
    <message>
        <source>Zaznacz portal</source>
        <translation>Select a portal</translation>
    </message>
    <message>
        <source>Dodaj widok</source>
        <translation>Add Portal</translation>
    </message>
    <message>
        <source>Dodaj nowy portal z aktualnymi wartościami</source>
        <translation>Add a new portal with the values shown</translation>
    </message>
    <message>
        <source>Zamień</source>
        <translation>Replace</translation>
    </message>
    <message>
        <source>Zamień właściwości portalu na aktualne wartości</source>
        <translation>Replace the selected portal&apos;s properties with the values shown</translation>
    </message>
    <message>
        <source>Usuń widok</source>
        <translation>Delete Portal</translation>
    </message>
    <message>
        <source>Usuń ostatni portal z listy</source>
        <translation>Delete the last portal of the list</translation>
    </message>
    <message>
        <source>Wciśnij Shift i kliknij w miejscu gdzie ma być portal</source>
        <translation>Hold Shift and click where the selected portal is to be</translation>
    </message>
    <message>
        <source>Zazn.</source>
        <translation>Lines</translation>
    </message>
    <message>
        <source>Zaznacz ile rzędów chcesz edytować w tym samym czasie</source>
        <translation>How many rows or columns are edited at once</translation>
    </message>
    <message>
        <source>Podłoga/Sufit</source>
        <translation>Floor/Ceiling</translation>
    </message>
    <message>
        <source>Kształt podłogi/sufitu</source>
        <translation>Shape of the floor or ceiling</translation>
    </message>
    <message>
        <source>Pom. powyżej</source>
        <translation>Room above</translation>
    </message>
    <message>
        <source>Sektor jest niezgodny z numerem pomieszczenia powyżej</source>
        <translation>Number of the room above that the sectors open into</translation>
    </message>
    <message>
        <source>Pom. z boku</source>
        <translation>Room beside</translation>
    </message>
    <message>
        <source>Sektor jest niezgodny z numerem pomieszczenia z boku</source>
        <translation>Number of the room beside that the sectors lead into</translation>
    </message>
    <message>
        <source>Pom. poniżej</source>
        <translation>Room below</translation>
    </message>
    <message>
        <source>Sektor jest niezgodny z numerem pomieszczenia poniżej</source>
        <translation>Number of the room below that the sectors open into</translation>
    </message>
    <message>
        <source>Textura</source>
        <translation>Texture</translation>
    </message>
    <message>
        <source>Światło</source>
        <translation>Light</translation>
    </message>
    <message>
        <source>Podłoga</source>
        <translation>Floor</translation>
    </message>
    <message>
        <source>Sufit</source>
        <translation>Ceiling</translation>
    </message>
</context>
<context>
    <name>cw::ui::TForm4</name>
    <message>
        <source>Informacje</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Tłumaczenie zespół Cairnwork</source>
        <translation>Translation: the Cairnwork team</translation>
    </message>
    <message>
        <source>Wydanie: 2025</source>
        <translation>Release: 2025</translation>
    </message>
</context>
<context>
    <name>cw::ui::TForm5</name>
    <message>
        <source>Plik Budowy Levelu</source>
        <translation>Level Build Settings</translation>
    </message>
    <message>
        <source>Pliki Pomocnicze</source>
        <translation>Files</translation>
    </message>
    <message>
        <source>Szukaj</source>
        <translation>Browse</translation>
    </message>
    <message>
        <source>Opis levelu</source>
        <translation>Level description</translation>
    </message>
    <message>
        <source>Komentarz</source>
        <translation>Comment</translation>
    </message>
    <message>
        <source>Level bazowy</source>
        <translation>Base level</translation>
    </message>
    <message>
        <source>Ust. przedmiotów</source>
        <translation>Item settings</translation>
    </message>
    <message>
        <source>Ust. świateł/textur</source>
        <translation>Light/texture settings</translation>
    </message>
    <message>
        <source>Nazwa pliku</source>
        <translation>Output level</translation>
    </message>
    <message>
        <source>Buduj Level</source>
        <translation>Build Level</translation>
    </message>
    <message>
        <source>Odwołaj</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>cw::ui::TexturePicker</name>
    <message>
        <source>Wybierz teksturę</source>
        <translation>Choose a Texture</translation>
    </message>
    <message>
        <source>Tekstury poziomu bazowego nie są wczytane.</source>
        <translation>The base level&apos;s textures are not loaded.</translation>
    </message>
    <message>
        <source>Kliknij teksturę, aby ją wybrać (%1 tekstur poziomu bazowego).</source>
        <translation>Click a texture to choose it (%1 textures in the base level).</translation>
    </message>
</context>
<context>
    <name>cw::ui::TextureThumbnail</name>
    <message>
        <source>Tekstura %1 (tekstury poziomu bazowego nie są wczytane)</source>
        <translation>Texture %1 (the base level&apos;s textures are not loaded)</translation>
    </message>
    <message>
        <source>0: bez ściany. Kliknij, aby wybrać teksturę</source>
        <translation>0: no face. Click to choose a texture</translation>
    </message>
    <message>
        <source>Brak tekstury %1: poziom bazowy ma %2 tekstur (1–%2)</source>
        <translation>No texture %1: the base level has %2 textures (1–%2)</translation>
    </message>
    <message>
        <source>Tekstura %1 z %2. Kliknij, aby wybrać inną</source>
        <translation>Texture %1 of %2. Click to choose another</translation>
    </message>
</context>
<context>
    <name>cw::ui::UndoHistory</name>
    <message>
        <source>&amp;Cofnij</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>&amp;Ponów</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>dodanie pomieszczenia %1</source>
        <translation>adding room %1</translation>
    </message>
    <message>
        <source>klonowanie pomieszczenia %1</source>
        <translation>cloning room %1</translation>
    </message>
    <message>
        <source>usunięcie pomieszczenia %1</source>
        <translation>deleting room %1</translation>
    </message>
    <message>
        <source>zmiana właściwości pomieszczenia %1</source>
        <translation>changing the properties of room %1</translation>
    </message>
    <message>
        <source>przesunięcie pomieszczenia %1</source>
        <translation>moving room %1</translation>
    </message>
    <message>
        <source>wybór pomieszczenia %1</source>
        <translation>choosing room %1</translation>
    </message>
    <message>
        <source>edycja podłogi pomieszczenia %1</source>
        <translation>editing the floor of room %1</translation>
    </message>
    <message>
        <source>edycja sufitu pomieszczenia %1</source>
        <translation>editing the ceiling of room %1</translation>
    </message>
    <message>
        <source>otwarcie sektora pomieszczenia %1</source>
        <translation>opening a sector of room %1</translation>
    </message>
    <message>
        <source>zamknięcie sektora pomieszczenia %1</source>
        <translation>closing a sector of room %1</translation>
    </message>
    <message>
        <source>dodanie portalu w pomieszczeniu %1</source>
        <translation>adding a portal in room %1</translation>
    </message>
    <message>
        <source>umieszczenie portalu w pomieszczeniu %1</source>
        <translation>placing a portal in room %1</translation>
    </message>
    <message>
        <source>zmiana portalu w pomieszczeniu %1</source>
        <translation>changing a portal in room %1</translation>
    </message>
    <message>
        <source>usunięcie portalu z pomieszczenia %1</source>
        <translation>removing a portal from room %1</translation>
    </message>
    <message>
        <source>zmiana ustawień budowy levelu</source>
        <translation>changing the level build settings</translation>
    </message>
    <message>
        <source>Cofnij: %1</source>
        <translation>Undo: %1</translation>
    </message>
    <message>
        <source>Nie ma zmian do cofnięcia</source>
        <translation>Nothing to undo</translation>
    </message>
    <message>
        <source>Ponów: %1</source>
        <translation>Redo: %1</translation>
    </message>
    <message>
        <source>Nie ma zmian do ponowienia</source>
        <translation>Nothing to redo</translation>
    </message>
</context>
</TS>
