// The album list of a published site. The albums come from data.js; only the rows on or near
// the screen are in the page, so a list of 100 000 albums scrolls as one of a hundred.
"use strict";
(function () {
    // An album as data.js writes it.
    var ID = 0, ARTIST = 1, TITLE = 2, YEAR = 3, MEDIA = 4, GENRE = 5, LABEL = 6, NUMBER = 7,
        BARCODE = 8;
    // Rows drawn beyond each edge of the screen, so a quick flick shows no gap.
    var SPARE_ROWS = 10;

    var site = window.tunvaleSite || { title: "", albums: [] };
    var albums = site.albums;
    var collator = new Intl.Collator(undefined, { numeric: true, sensitivity: "base" });
    var search = document.getElementById("search");
    var count = document.getElementById("count");
    var rows = document.getElementById("rows");
    var bar = document.querySelector(".bar");
    var buttons = Array.prototype.slice.call(document.querySelectorAll(".columns button"));

    var order = albums.map(function (album, index) { return index; });
    var shown = order;
    var searchTexts = null; // made once the list is on screen, or at the first search
    var sortKey = ""; // none until the first sort
    var descending = false;
    var rowHeight = 40;
    var drawn = new Map(); // position in `shown` -> row element
    var pendingFrame = 0;

    function fold(text) {
        return String(text).normalize("NFD").replace(/[\u0300-\u036f]/g, "").toLowerCase();
    }

    // Numbers and barcodes are also found without their spaces and dashes.
    function searchText(album) {
        var number = fold(album[NUMBER]), barcode = fold(album[BARCODE]);
        return [fold(album[ARTIST]), fold(album[TITLE]), fold(album[LABEL]), number, barcode,
            number.replace(/[^0-9a-z]/g, ""), barcode.replace(/[^0-9a-z]/g, "")].join("\n");
    }

    function matches(index, terms) {
        var text = searchTexts[index];
        for (var i = 0; i < terms.length; ++i)
            if (text.indexOf(terms[i]) < 0)
                return false;
        return true;
    }

    function prepareSearch() {
        if (!searchTexts)
            searchTexts = albums.map(searchText);
    }

    function applySearch() {
        var terms = fold(search.value).split(/\s+/).filter(Boolean);
        if (terms.length === 0) {
            shown = order;
        } else {
            prepareSearch();
            shown = order.filter(function (index) { return matches(index, terms); });
        }
        var total = albums.length, noun = total === 1 ? " album" : " albums";
        count.textContent = shown.length === total ? total + noun
                                                   : shown.length + " of " + total + noun;
        redraw();
    }

    function compareText(field) {
        return function (a, b) { return collator.compare(albums[a][field], albums[b][field]); };
    }

    // Albums without a year come last either way round.
    function compareYear(a, b) {
        return (albums[a][YEAR] || 1e6) - (albums[b][YEAR] || 1e6);
    }

    var comparisons = {
        artist: [compareText(ARTIST), compareText(TITLE)],
        title: [compareText(TITLE), compareText(ARTIST)],
        year: [compareYear, compareText(ARTIST), compareText(TITLE)],
        media: [compareText(MEDIA), compareText(ARTIST), compareText(TITLE)],
        genre: [compareText(GENRE), compareText(ARTIST), compareText(TITLE)],
        label: [compareText(LABEL), compareText(NUMBER), compareText(ARTIST)],
        barcode: [compareText(BARCODE), compareText(ARTIST), compareText(TITLE)]
    };

    function sortBy(key) {
        descending = key === sortKey ? !descending : false;
        sortKey = key;
        var steps = comparisons[key];
        order = albums.map(function (album, index) { return index; });
        order.sort(function (a, b) {
            for (var i = 0; i < steps.length; ++i) {
                var result = steps[i](a, b);
                if (result !== 0)
                    return descending ? -result : result;
            }
            return a - b;
        });
        showSortState();
        applySearch();
    }

    function showSortState() {
        buttons.forEach(function (button) {
            var active = button.dataset.sort === sortKey;
            button.setAttribute("aria-pressed", active ? "true" : "false");
            if (active)
                button.dataset.dir = descending ? "descending" : "ascending";
            else
                delete button.dataset.dir;
        });
    }

    function cell(name, text) {
        var span = document.createElement("span");
        span.className = name;
        span.textContent = text;
        return span;
    }

    // Text only ever goes in as text: nothing from the catalogue is read as markup.
    function makeRow(position) {
        var album = albums[shown[position]];
        var row = document.createElement("a");
        row.className = "row";
        row.href = "albums/" + Number(album[ID]) + ".html";
        var meta = document.createElement("span");
        meta.className = "meta";
        meta.append(cell("media", album[MEDIA]), cell("genre", album[GENRE]),
            cell("label", [album[LABEL], album[NUMBER]].filter(Boolean).join(" ")),
            cell("barcode", album[BARCODE]));
        row.append(cell("artist", album[ARTIST]), cell("title", album[TITLE]),
            cell("year", album[YEAR] || ""), meta);
        row.style.top = position * rowHeight + "px";
        return row;
    }

    function measureRows() {
        var probe = document.createElement("a");
        probe.className = "row";
        probe.style.visibility = "hidden";
        rows.appendChild(probe);
        rowHeight = probe.offsetHeight || rowHeight;
        rows.removeChild(probe);
        document.documentElement.style.setProperty("--bar-height", bar.offsetHeight + "px");
    }

    // Rows that stay on screen are kept, so a focused row keeps its focus while scrolling.
    function drawVisible() {
        pendingFrame = 0;
        var top = rows.getBoundingClientRect().top;
        var first = Math.max(0, Math.floor(-top / rowHeight) - SPARE_ROWS);
        var last = Math.min(shown.length,
            Math.ceil((window.innerHeight - top) / rowHeight) + SPARE_ROWS);
        drawn.forEach(function (row, position) {
            if (position < first || position >= last) {
                row.remove();
                drawn.delete(position);
            }
        });
        var fragment = document.createDocumentFragment();
        for (var position = first; position < last; ++position) {
            if (!drawn.has(position)) {
                var row = makeRow(position);
                drawn.set(position, row);
                fragment.appendChild(row);
            }
        }
        rows.appendChild(fragment);
    }

    function redraw() {
        drawn.forEach(function (row) { row.remove(); });
        drawn.clear();
        rows.style.height = shown.length * rowHeight + "px";
        drawVisible();
    }

    function drawSoon() {
        if (!pendingFrame)
            pendingFrame = window.requestAnimationFrame(drawVisible);
    }

    if (site.title)
        document.getElementById("heading").textContent = site.title;
    buttons.forEach(function (button) {
        button.addEventListener("click", function () { sortBy(button.dataset.sort); });
    });
    search.addEventListener("input", function () {
        // The search is kept in the address, so coming back from an album shows the same list.
        var page = location.href.split("#")[0];
        try {
            history.replaceState(null, "", search.value ? "#" + encodeURIComponent(search.value)
                                                        : page);
        } catch (error) {
            // Some browsers allow no history changes to pages opened from the disk.
        }
        window.scrollTo(0, 0);
        applySearch();
    });
    window.addEventListener("scroll", drawSoon, { passive: true });
    window.addEventListener("resize", function () {
        measureRows();
        redraw();
    });
    if (location.hash.length > 1) {
        try {
            search.value = decodeURIComponent(location.hash.slice(1));
        } catch (error) {
            search.value = "";
        }
    }
    measureRows();
    // In the reader's language, which the catalogue's own order need not be.
    sortBy("artist");
    // Half a second for 100 000 albums: spent while the reader looks, not at the first key.
    window.setTimeout(prepareSearch, 0);
}());
