-- The catalogue's tables. Keys are auto-numbered and never reused; every deleted flag
-- defaults to false (0); text compares and sorts without regard to case, as users expect of
-- names and titles (the program installs a Unicode-aware NOCASE on its connections).

CREATE TABLE music (
    music_id         INTEGER PRIMARY KEY AUTOINCREMENT,
    number           INTEGER,
    artist_id        INTEGER,
    title            TEXT COLLATE NOCASE,
    type_id          INTEGER,
    year             INTEGER,
    length           TEXT COLLATE NOCASE,
    cat_id           INTEGER,
    subcat_id        INTEGER,
    value            REAL,
    person_id        INTEGER,
    purchasedfrom_id INTEGER,
    purchasedate     DATE,
    frontimage       TEXT COLLATE NOCASE,
    backimage        TEXT COLLATE NOCASE,
    contents         LONGTEXT COLLATE NOCASE,
    notes            LONGTEXT COLLATE NOCASE,
    loandate         DATE,
    returndate       DATE,
    location_id      INTEGER,
    grade            INTEGER,
    incollection     BOOLEAN,
    condition_id     INTEGER,
    purchaseprice    REAL,
    language_id      INTEGER,
    country_id       INTEGER,
    url              TEXT COLLATE NOCASE,
    label_id         INTEGER,
    labelnumber      TEXT COLLATE NOCASE,
    studio_id        INTEGER,
    producer_id      INTEGER,
    ad               INTEGER,
    engineer_id      INTEGER,
    recordingdate    DATE,
    tourname         TEXT COLLATE NOCASE,
    conductor_id     INTEGER,
    orchestra_id     INTEGER,
    freedbid         TEXT COLLATE NOCASE,
    deleted          BOOLEAN NOT NULL DEFAULT 0
);

CREATE TABLE tracks (
    track_id      INTEGER PRIMARY KEY AUTOINCREMENT,
    tracknumber   INTEGER,
    title         TEXT COLLATE NOCASE,
    artist_id     INTEGER,
    cat_id        INTEGER,
    subcat_id     INTEGER,
    length        TEXT COLLATE NOCASE,
    notes         LONGTEXT COLLATE NOCASE,
    language_id   INTEGER,
    country_id    INTEGER,
    label_id      INTEGER,
    labelnumber   TEXT COLLATE NOCASE,
    studio_id     INTEGER,
    producer_id   INTEGER,
    engineer_id   INTEGER,
    songwriter_id INTEGER,
    conductor_id  INTEGER,
    orchestra_id  INTEGER,
    year          INTEGER,
    grade         INTEGER,
    lyrics        LONGTEXT COLLATE NOCASE,
    audiofile     TEXT COLLATE NOCASE,
    music_id      INTEGER
);

CREATE TABLE music_artists (
    artist_id      INTEGER PRIMARY KEY AUTOINCREMENT,
    artist_name    TEXT COLLATE NOCASE,
    artist_deleted BOOLEAN NOT NULL DEFAULT 0
);

CREATE TABLE music_categories (
    cat_id      INTEGER PRIMARY KEY AUTOINCREMENT,
    cat_name    TEXT COLLATE NOCASE,
    cat_deleted BOOLEAN NOT NULL DEFAULT 0
);

CREATE TABLE music_types (
    type_id      INTEGER PRIMARY KEY AUTOINCREMENT,
    type_name    TEXT COLLATE NOCASE,
    type_deleted BOOLEAN NOT NULL DEFAULT 0
);

CREATE TABLE music_subcategories (
    subcat_id      INTEGER PRIMARY KEY AUTOINCREMENT,
    subcat_name    TEXT COLLATE NOCASE,
    subcat_deleted BOOLEAN NOT NULL DEFAULT 0
);

CREATE TABLE persons (
    person_id      INTEGER PRIMARY KEY AUTOINCREMENT,
    person_name    TEXT COLLATE NOCASE,
    person_deleted BOOLEAN NOT NULL DEFAULT 0
);

CREATE TABLE purchasedfrom (
    purchasedfrom_id      INTEGER PRIMARY KEY AUTOINCREMENT,
    purchasedfrom_name    TEXT COLLATE NOCASE,
    purchasedfrom_deleted BOOLEAN NOT NULL DEFAULT 0
);

CREATE TABLE music_locations (
    location_id      INTEGER PRIMARY KEY AUTOINCREMENT,
    location_name    TEXT COLLATE NOCASE,
    location_deleted BOOLEAN NOT NULL DEFAULT 0
);

CREATE TABLE conditions (
    condition_id      INTEGER PRIMARY KEY AUTOINCREMENT,
    condition_name    TEXT COLLATE NOCASE,
    condition_deleted BOOLEAN NOT NULL DEFAULT 0
);

CREATE TABLE languages (
    language_id      INTEGER PRIMARY KEY AUTOINCREMENT,
    language_name    TEXT COLLATE NOCASE,
    language_deleted BOOLEAN NOT NULL DEFAULT 0
);

CREATE TABLE countries (
    country_id      INTEGER PRIMARY KEY AUTOINCREMENT,
    country_name    TEXT COLLATE NOCASE,
    country_deleted BOOLEAN NOT NULL DEFAULT 0
);

CREATE TABLE music_labels (
    label_id      INTEGER PRIMARY KEY AUTOINCREMENT,
    label_name    TEXT COLLATE NOCASE,
    label_deleted BOOLEAN NOT NULL DEFAULT 0
);

CREATE TABLE music_studios (
    studio_id      INTEGER PRIMARY KEY AUTOINCREMENT,
    studio_name    TEXT COLLATE NOCASE,
    studio_deleted BOOLEAN NOT NULL DEFAULT 0
);

CREATE TABLE music_producers (
    producer_id      INTEGER PRIMARY KEY AUTOINCREMENT,
    producer_name    TEXT COLLATE NOCASE,
    producer_deleted BOOLEAN NOT NULL DEFAULT 0
);

CREATE TABLE music_engineers (
    engineer_id      INTEGER PRIMARY KEY AUTOINCREMENT,
    engineer_name    TEXT COLLATE NOCASE,
    engineer_deleted BOOLEAN NOT NULL DEFAULT 0
);

CREATE TABLE music_conductors (
    conductor_id      INTEGER PRIMARY KEY AUTOINCREMENT,
    conductor_name    TEXT COLLATE NOCASE,
    conductor_deleted BOOLEAN NOT NULL DEFAULT 0
);

CREATE TABLE music_orchestras (
    orchestra_id      INTEGER PRIMARY KEY AUTOINCREMENT,
    orchestra_name    TEXT COLLATE NOCASE,
    orchestra_deleted BOOLEAN NOT NULL DEFAULT 0
);

CREATE TABLE track_songwriters (
    songwriter_id      INTEGER PRIMARY KEY AUTOINCREMENT,
    songwriter_name    TEXT COLLATE NOCASE,
    songwriter_deleted BOOLEAN NOT NULL DEFAULT 0
);

-- Added beside the tables above: the album's barcode and its release ids at MusicBrainz and
-- Discogs, one row per album that has any (album_id is its music_id). A catalogue made before
-- this table gets it on its first write (db/AlbumIdsTable); its rows are deleted with their
-- album.
CREATE TABLE album_ids (
    album_id               INTEGER PRIMARY KEY,
    barcode                TEXT COLLATE NOCASE,
    musicbrainz_release_id TEXT COLLATE NOCASE,
    discogs_release_id     TEXT COLLATE NOCASE,
    ids_deleted            BOOLEAN NOT NULL DEFAULT 0
);

-- Finding a name, counting its uses and listing an album's tracks must not scan.
CREATE INDEX idx_music_artists_name ON music_artists (artist_name);
CREATE INDEX idx_music_categories_name ON music_categories (cat_name);
CREATE INDEX idx_music_types_name ON music_types (type_name);
CREATE INDEX idx_music_subcategories_name ON music_subcategories (subcat_name);
CREATE INDEX idx_persons_name ON persons (person_name);
CREATE INDEX idx_purchasedfrom_name ON purchasedfrom (purchasedfrom_name);
CREATE INDEX idx_music_locations_name ON music_locations (location_name);
CREATE INDEX idx_conditions_name ON conditions (condition_name);
CREATE INDEX idx_languages_name ON languages (language_name);
CREATE INDEX idx_countries_name ON countries (country_name);
CREATE INDEX idx_music_labels_name ON music_labels (label_name);
CREATE INDEX idx_music_studios_name ON music_studios (studio_name);
CREATE INDEX idx_music_producers_name ON music_producers (producer_name);
CREATE INDEX idx_music_engineers_name ON music_engineers (engineer_name);
CREATE INDEX idx_music_conductors_name ON music_conductors (conductor_name);
CREATE INDEX idx_music_orchestras_name ON music_orchestras (orchestra_name);
CREATE INDEX idx_track_songwriters_name ON track_songwriters (songwriter_name);
CREATE INDEX idx_music_artist_id ON music (artist_id);
CREATE INDEX idx_music_type_id ON music (type_id);
CREATE INDEX idx_music_cat_id ON music (cat_id);
CREATE INDEX idx_music_subcat_id ON music (subcat_id);
CREATE INDEX idx_music_person_id ON music (person_id);
CREATE INDEX idx_music_purchasedfrom_id ON music (purchasedfrom_id);
CREATE INDEX idx_music_location_id ON music (location_id);
CREATE INDEX idx_music_condition_id ON music (condition_id);
CREATE INDEX idx_music_language_id ON music (language_id);
CREATE INDEX idx_music_country_id ON music (country_id);
CREATE INDEX idx_music_label_id ON music (label_id);
CREATE INDEX idx_music_studio_id ON music (studio_id);
CREATE INDEX idx_music_producer_id ON music (producer_id);
CREATE INDEX idx_music_engineer_id ON music (engineer_id);
CREATE INDEX idx_music_conductor_id ON music (conductor_id);
CREATE INDEX idx_music_orchestra_id ON music (orchestra_id);
CREATE INDEX idx_tracks_album ON tracks (music_id, tracknumber);
CREATE INDEX idx_music_deleted ON music (deleted);
