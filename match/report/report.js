(function () {
  'use strict';
  var data = JSON.parse(document.getElementById('match-data').textContent);
  var RANKS = ['9', '10', 'J', 'Q', 'K', 'A'];
  var SUITS = ['\u2663', '\u2666', '\u2665', '\u2660'];
  var RED = [false, true, true, false];
  // A row is a deal: {deal (from 0), seed, cards (a letter each, 'a' + code),
  // ceiling: {score, answers, categories} or null, games: one per player, as
  // data.players orders them: {status, score (null after a fault), answers
  // (a column digit each), categories (a digit per column), message}}. A
  // player is {name, command (shell-quoted; '' when not known), rank (1: the
  // best)}; data.opening is the deal to show when the address names none.
  var rows = data.rows;
  var byIndex = {};
  rows.forEach(function (row) { byIndex[row.deal] = row; });
  // The players as the standings rank them, best first: the deal table's columns and the boards follow it.
  var order = data.players.map(function (player, p) { return p; });
  order.sort(function (x, y) { return data.players[x].rank - data.players[y].rank; });
  var playerNamed = new Map();
  data.players.forEach(function (player, p) { playerNamed.set(player.name, p); });
  var sortSelect = document.getElementById('sort');
  var firstSelect = document.getElementById('sort-a');
  var secondSelect = document.getElementById('sort-b');
  var orderButton = document.getElementById('order');
  var keyHeader = document.getElementById('key-header');
  var scrollBox = document.getElementById('deal-scroll');
  var body = document.getElementById('deal-rows');
  var detail = document.getElementById('deal');
  var pageInfo = document.getElementById('page-info');
  var previousButton = document.getElementById('previous');
  var nextButton = document.getElementById('next');
  // A page of rows at a time: ten thousand rows drawn at once take the browser a second.
  var PAGE = 250;
  var page = 0;
  var sorted = [];
  var descending = false;
  var selected = -1;

  function escapeHtml(text) {
    return String(text).replace(/[&<>"]/g, function (c) {
      return { '&': '&amp;', '<': '&lt;', '>': '&gt;', '"': '&quot;' }[c];
    });
  }

  function option(value, label) {
    var element = document.createElement('option');
    element.value = value;
    element.textContent = label;
    return element;
  }

  // The options name the players, as the address does.
  sortSelect.appendChild(option('deal', 'numărul împărțirii'));
  order.forEach(function (p) {
    var name = data.players[p].name;
    sortSelect.appendChild(option('score:' + name, 'scorul: ' + name));
    if (data.ceiling) sortSelect.appendChild(option('gap:' + name, 'sub plafon: ' + name));
    firstSelect.appendChild(option(name, name));
    secondSelect.appendChild(option(name, name));
  });
  if (order.length > 1) {
    sortSelect.appendChild(option('diff', 'diferența A − B'));
    secondSelect.value = data.players[order[1]].name;
  }

  function scoreOf(row, name) {
    return row.games[playerNamed.get(name)].score;
  }

  // What the deals are ordered by; null (a fault) goes last.
  function keyOf(row) {
    var how = sortSelect.value;
    if (how === 'deal') return row.deal + 1;
    if (how === 'diff') {
      var a = scoreOf(row, firstSelect.value);
      var b = scoreOf(row, secondSelect.value);
      return a === null || b === null ? null : a - b;
    }
    var colon = how.indexOf(':');
    var score = scoreOf(row, how.slice(colon + 1));
    if (how.slice(0, colon) === 'score') return score;
    return score === null || row.ceiling === null ? null : row.ceiling.score - score;
  }

  function scoreCell(row, p) {
    var game = row.games[p];
    if (game.score !== null) return '<td class="n">' + game.score + '</td>';
    return '<td class="n fault" title="' + escapeHtml(game.status + ': ' + game.message) + '">\u2717 ' +
           escapeHtml(game.status) + '</td>';
  }

  function sortRows() {
    var started = performance.now();
    var keyed = rows.map(function (row) { return { key: keyOf(row), row: row }; });
    keyed.sort(function (x, y) {
      if (x.key === null || y.key === null) {
        if (x.key === y.key) return x.row.deal - y.row.deal;
        return x.key === null ? 1 : -1;
      }
      var difference = descending ? y.key - x.key : x.key - y.key;
      return difference || x.row.deal - y.row.deal;
    });
    sorted = keyed;
    page = 0;
    drawPage();
    keyHeader.textContent = sortSelect.value === 'deal' ? '' : 'valoare';
    orderButton.textContent = descending ? 'descrescător' : 'crescător';
    orderButton.setAttribute('aria-pressed', descending ? 'true' : 'false');
    firstSelect.hidden = secondSelect.hidden = sortSelect.value !== 'diff';
    document.body.setAttribute('data-render-ms', String(Math.round(performance.now() - started)));
  }

  function drawPage() {
    var html = [];
    var last = Math.min(sorted.length, (page + 1) * PAGE);
    for (var i = page * PAGE; i < last; ++i) {
      var row = sorted[i].row;
      var key = sortSelect.value === 'deal' ? '' : sorted[i].key === null ? '—' : sorted[i].key;
      html.push('<tr tabindex="0" data-deal="' + row.deal + '"' + (row.deal === selected ? ' aria-selected="true"' : '') +
                '><th scope="row" class="n">' + (row.deal + 1) + '</th><td class="n">' + key + '</td>' +
                (data.ceiling ? '<td class="n">' + row.ceiling.score + '</td>' : ''));
      for (var o = 0; o < order.length; ++o) html.push(scoreCell(row, order[o]));
      html.push('</tr>');
    }
    body.innerHTML = html.join('');
    pageInfo.textContent = (sorted.length ? page * PAGE + 1 : 0) + '–' + last + ' din ' + sorted.length;
    previousButton.disabled = page === 0;
    nextButton.disabled = last >= sorted.length;
  }

  function turnPage(step) {
    page += step;
    drawPage();
  }

  // The deal table's box ends inside the window as the page opens, its page buttons under it, so that a row can
  // be scrolled into view there beside the boards; it keeps a few rows in a low window.
  function fitTable() {
    var top = scrollBox.getBoundingClientRect().top + window.scrollY;
    var below = previousButton.parentNode.getBoundingClientRect().height + 12;
    scrollBox.style.maxHeight = Math.max(window.innerHeight - top - below, 160) + 'px';
  }

  // Brings the row of a deal into the table's own scroll box, turning to its page first; the window stays where
  // it is, so that the boards stay in view.
  function reveal(index) {
    var at = sorted.findIndex(function (entry) { return entry.row.deal === index; });
    if (at < 0) return;
    if (Math.floor(at / PAGE) !== page) turnPage(Math.floor(at / PAGE) - page);
    var row = body.querySelector('tr[data-deal="' + index + '"]').getBoundingClientRect();
    var top = keyHeader.getBoundingClientRect().bottom;  // the header's cells stay at the box's top
    var bottom = Math.min(scrollBox.getBoundingClientRect().bottom, window.innerHeight);
    if (row.top < top || row.bottom > bottom) scrollBox.scrollTop += row.top - top;
  }

  function cardHtml(code, number) {
    var rank = code >> 2, suit = code & 3;
    return '<td class="' + (RED[suit] ? 'red' : 'black') + '" title="cartea ' + (number + 1) + ', runda ' +
           (Math.floor(number / 4) + 1) + '">' + RANKS[rank] + SUITS[suit] + '</td>';
  }

  // A command breaks only between its words, never inside a path (after a '-' of it, say).
  function commandHtml(command) {
    return '<code class="replay">' + command.split(' ').map(function (word) {
      return '<span class="word">' + escapeHtml(word) + '</span>';
    }).join(' ') + '</code>';
  }

  // A board of four columns of five cards, row r being round r + 1.
  function boardHtml(title, ceiling, cards, answers, categories, total, message, command) {
    var grid = [];
    for (var r = 0; r < 5; ++r) grid.push([null, null, null, null]);
    for (var k = 0; k < answers.length; ++k) grid[Math.floor(k / 4)][answers.charCodeAt(k) - 49] = k;
    var html = '<figure class="board' + (ceiling ? ' ceiling' : '') + '"><figcaption>' + escapeHtml(title) +
               (total === null ? '' : ': ' + total + ' puncte') + '</figcaption><table class="cards"><thead><tr><th></th>';
    for (var c = 0; c < 4; ++c) html += '<th scope="col">col. ' + (c + 1) + '</th>';
    html += '</tr></thead><tbody>';
    grid.forEach(function (round, r) {
      html += '<tr><th scope="row">runda ' + (r + 1) + '</th>';
      round.forEach(function (k) {
        html += k === null ? '<td class="empty">·</td>' : cardHtml(cards.charCodeAt(k) - 97, k);
      });
      html += '</tr>';
    });
    html += '</tbody>';
    if (categories) {
      html += '<tfoot><tr><th></th>';
      for (var column = 0; column < 4; ++column) {
        var category = categories.charCodeAt(column) - 48;
        html += '<td>' + data.categories[category] + '<br>' + data.points[category] + '</td>';
      }
      html += '</tr></tfoot>';
    }
    html += '</table>';
    // A message tells the lines of the player's standard error apart with " ⏎ ": here they are lines again.
    if (message) html += '<p class="message">' + message.split(' \u23ce ').map(escapeHtml).join('<br>') + '</p>';
    if (command) html += commandHtml(command);
    return html + '</figure>';
  }

  function show(index) {
    var row = byIndex[index];
    if (!row) return;
    selected = index;
    Array.prototype.forEach.call(body.querySelectorAll('tr[aria-selected]'), function (tr) {
      tr.removeAttribute('aria-selected');
    });
    var tr = body.querySelector('tr[data-deal="' + index + '"]');
    if (tr) tr.setAttribute('aria-selected', 'true');
    var html = '<h3>Împărțirea ' + (index + 1) + ' (sămânța pachetului ' + row.seed + ')</h3><div class="boards">';
    var ceiling = row.ceiling;
    if (ceiling) html += boardHtml('plafon', true, row.cards, ceiling.answers, ceiling.categories, ceiling.score, '', '');
    order.forEach(function (p) {
      var player = data.players[p], game = row.games[p];
      // A command not known is not made up from the name.
      html += boardHtml(player.name, false, row.cards, game.answers, game.categories, game.score,
                        game.score !== null ? '' : game.status + ': ' + game.message,
                        player.command ? 'referee --seed ' + row.seed + ' ' + player.command : '');
    });
    detail.innerHTML = html + '</div>';
    detail.setAttribute('data-deal', String(index));
  }

  function choose(tr) {
    if (!tr || !tr.hasAttribute('data-deal')) return;
    var index = Number(tr.getAttribute('data-deal'));
    show(index);
    writeAddress();
  }

  // A name in the address: escaped where it would end its part, and left readable elsewhere.
  function addressed(text) {
    return encodeURIComponent(text).replace(/%3A/g, ':').replace(/%2B/g, '+');
  }

  // The address of what is shown, to come back to it: the deal, and the order when it is not by number.
  function writeAddress() {
    var how = sortSelect.value, parts = [];
    if (selected >= 0) parts.push('deal=' + (selected + 1));
    if (how !== 'deal') parts.push('sort=' + addressed(how));
    if (how === 'diff') parts.push('a=' + addressed(firstSelect.value), 'b=' + addressed(secondSelect.value));
    if (descending !== (how !== 'deal')) parts.push('order=' + (descending ? 'desc' : 'asc'));
    history.replaceState(null, '', '#' + parts.join('&'));
  }

  function resort() {
    sortRows();
    writeAddress();
  }

  body.addEventListener('click', function (event) { choose(event.target.closest('tr')); });
  body.addEventListener('keydown', function (event) {
    var tr = event.target.closest('tr');
    if (!tr) return;
    if (event.key === 'Enter' || event.key === ' ') {
      event.preventDefault();
      choose(tr);
    } else if (event.key === 'ArrowDown' || event.key === 'ArrowUp') {
      event.preventDefault();
      var down = event.key === 'ArrowDown';
      var next = down ? tr.nextElementSibling : tr.previousElementSibling;
      if (!next && !(down ? nextButton : previousButton).disabled) {
        turnPage(down ? 1 : -1);
        next = down ? body.firstElementChild : body.lastElementChild;
      }
      if (next) next.focus();
    }
  });
  // The deals in their order; by a score, a gap or a difference, the largest first.
  sortSelect.addEventListener('change', function () {
    descending = sortSelect.value !== 'deal';
    resort();
  });
  [firstSelect, secondSelect].forEach(function (select) { select.addEventListener('change', resort); });
  orderButton.addEventListener('click', function () {
    descending = !descending;
    resort();
  });
  previousButton.addEventListener('click', function () { turnPage(-1); });
  nextButton.addEventListener('click', function () { turnPage(1); });

  // Sets a select to a value that is one of its options; anything else (a player not in the match) is left out.
  function selectIfOffered(select, value) {
    if (Array.prototype.some.call(select.options, function (o) { return o.value === value; })) select.value = value;
  }

  // #deal=N shows deal N, #sort=score:NAME, gap:NAME or diff (with a=NAME&b=NAME) and order=asc or desc sort on
  // opening. Without a deal, the page opens on the one chosen for it: the best player's weakest.
  var wanted = {};
  location.hash.replace(/^#/, '').split('&').forEach(function (pair) {
    var equals = pair.indexOf('=');
    try {
      if (equals > 0) wanted[pair.slice(0, equals)] = decodeURIComponent(pair.slice(equals + 1));
    } catch (malformed) {
      // A broken %-escape names nothing.
    }
  });
  if (wanted.sort) selectIfOffered(sortSelect, wanted.sort);
  if (wanted.a) selectIfOffered(firstSelect, wanted.a);
  if (wanted.b) selectIfOffered(secondSelect, wanted.b);
  descending = wanted.order ? wanted.order === 'desc' : sortSelect.value !== 'deal';
  sortRows();
  fitTable();
  window.addEventListener('resize', fitTable);
  var opening = byIndex[Number(wanted.deal) - 1] ? Number(wanted.deal) - 1 : data.opening;
  show(opening);
  reveal(opening);
  // How long the page took to open, for whoever measures it.
  document.body.setAttribute('data-ready-ms', String(Math.round(performance.now())));
})();
