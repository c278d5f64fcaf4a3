(function () {
  'use strict';
  var data = JSON.parse(document.getElementById('match-data').textContent);
  var RANKS = ['9', '10', 'J', 'Q', 'K', 'A'];
  var SUITS = ['\u2663', '\u2666', '\u2665', '\u2660'];
  var RED = [false, true, true, false];
  // A row is a deal: {deal (from 0), seed, cards (a letter each, 'a' + code),
  // ceiling: {score, answers, categories} or null, games: one per player, as
  // data.players orders them: {status, score (null after a fault), answers
  // (a column digit each), categories (a digit per column), message}}.
  var rows = data.rows;
  var byIndex = {};
  rows.forEach(function (row) { byIndex[row.deal] = row; });
  var sortSelect = document.getElementById('sort');
  var firstSelect = document.getElementById('sort-a');
  var secondSelect = document.getElementById('sort-b');
  var orderButton = document.getElementById('order');
  var keyHeader = document.getElementById('key-header');
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

  sortSelect.appendChild(option('deal', 'numărul împărțirii'));
  data.players.forEach(function (player, p) {
    sortSelect.appendChild(option('score:' + p, 'scorul: ' + player.name));
    if (data.ceiling) sortSelect.appendChild(option('gap:' + p, 'sub plafon: ' + player.name));
    firstSelect.appendChild(option(String(p), player.name));
    secondSelect.appendChild(option(String(p), player.name));
  });
  if (data.players.length > 1) {
    sortSelect.appendChild(option('diff', 'diferența A − B'));
    secondSelect.value = '1';
  }

  function scoreOf(row, p) {
    return row.games[p].score;
  }

  // What the deals are ordered by; null (a fault) goes last.
  function keyOf(row) {
    var how = sortSelect.value;
    if (how === 'deal') return row.deal + 1;
    if (how === 'diff') {
      var a = scoreOf(row, Number(firstSelect.value));
      var b = scoreOf(row, Number(secondSelect.value));
      return a === null || b === null ? null : a - b;
    }
    var parts = how.split(':');
    var score = scoreOf(row, Number(parts[1]));
    if (parts[0] === 'score') return score;
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
      for (var p = 0; p < data.players.length; ++p) html.push(scoreCell(row, p));
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

  function cardHtml(code, number) {
    var rank = code >> 2, suit = code & 3;
    return '<td class="' + (RED[suit] ? 'red' : 'black') + '" title="cartea ' + (number + 1) + ', runda ' +
           (Math.floor(number / 4) + 1) + '">' + RANKS[rank] + SUITS[suit] + '</td>';
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
    if (message) html += '<p class="message">' + escapeHtml(message) + '</p>';
    if (command) html += '<code class="replay">' + escapeHtml(command) + '</code>';
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
    data.players.forEach(function (player, p) {
      var game = row.games[p];
      var ok = game.score !== null;
      html += boardHtml(player.name, false, row.cards, game.answers, game.categories, game.score,
                        ok ? '' : game.status + ': ' + game.message,
                        'referee --seed ' + row.seed + ' ' + (player.command || player.name));
    });
    var ceiling = row.ceiling;
    if (ceiling) html += boardHtml('plafon', true, row.cards, ceiling.answers, ceiling.categories, ceiling.score, '', '');
    detail.innerHTML = html + '</div>';
    detail.setAttribute('data-deal', String(index));
  }

  function choose(tr) {
    if (!tr || !tr.hasAttribute('data-deal')) return;
    var index = Number(tr.getAttribute('data-deal'));
    show(index);
    history.replaceState(null, '', '#deal=' + (index + 1));
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
    sortRows();
  });
  [firstSelect, secondSelect].forEach(function (select) { select.addEventListener('change', sortRows); });
  orderButton.addEventListener('click', function () {
    descending = !descending;
    sortRows();
  });
  previousButton.addEventListener('click', function () { turnPage(-1); });
  nextButton.addEventListener('click', function () { turnPage(1); });

  // #deal=N shows deal N; #sort=...&order=asc sorts on opening.
  var wanted = {};
  location.hash.replace(/^#/, '').split('&').forEach(function (pair) {
    var parts = pair.split('=');
    if (parts.length === 2) wanted[parts[0]] = decodeURIComponent(parts[1]);
  });
  if (wanted.sort && sortSelect.querySelector('option[value="' + wanted.sort + '"]')) sortSelect.value = wanted.sort;
  descending = wanted.order ? wanted.order === 'desc' : sortSelect.value !== 'deal';
  sortRows();
  if (wanted.deal) show(Number(wanted.deal) - 1);
  // How long the page took to open, for whoever measures it.
  document.body.setAttribute('data-ready-ms', String(Math.round(performance.now())));
})();
