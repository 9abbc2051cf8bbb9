// SPDX-License-Identifier: GPL-3.0-or-later
// Every fixed text of the page, in French, as the desktop game writes it. Texts that change
// during play (turn, scores, mines left, verdicts of rounds) come from the server instead.

export const gameTitle = 'Volcanelle';
export const roomTitle = (code) => `Volcanelle — duel en ligne, salle ${code}`;

// The start: create a room, or join one by its code.
export const createRoom = 'Créer une salle';
export const joinRoom = 'Rejoindre une salle';
export const codeLabel = 'Code de la salle (par exemple 7KQ3-M9XA) :';
export const joinButton = 'Rejoindre';
export const badCode = 'Un code de salle a huit caractères, par exemple 7KQ3-M9XA.';
export const connecting = 'Connexion au serveur…';
export const intro = 'Le démineur en duel : deux joueurs, un plateau, chacun son tour.';

// The room.
export const youAre = (side) => `Vous êtes le joueur ${side}`;
export const shareLabel = 'Lien à envoyer à votre adversaire :';
export const copyLink = 'Copier le lien';
export const linkCopied = 'Lien copié.';
export const linkNotCopied = 'Copie impossible : sélectionnez le lien et copiez-le.';
export const waitingForOpponent = 'En attente de l\'adversaire…';
export const opponentAway = 'L\'adversaire s\'est déconnecté…';
export const connectionInterrupted = 'Connexion interrompue, nouvelle tentative…';
export const duelOver = 'Le duel est terminé.';

// The window's controls.
export const playerFrame = (player) => `Joueur ${player} :`;
export const firstScore = 'Score : 0 point';
export const firstRoundsWon = 'Partie gagnée : 0';
export const newRound = 'Nouvelle manche';
export const about = 'A propos';
export const quit = 'Quitter';
export const boardName = 'Plateau';
export const statusName = 'Barre d\'état';

// The boxes' buttons.
export const yes = 'Oui';
export const no = 'Non';
export const ok = 'OK';
export const cancel = 'Annuler';

// Questions asked at this end before anything is sent.
export const askNewRound = { text: 'Voulez-vous vraiment commencer une nouvelle manche ?',
    title: 'Nouvelle manche ?' };
export const askQuit = { text: 'Voulez-vous vraiment quitter ?', title: 'Quitter ?' };
export const mineCountPrompt = 'Entrez un nombre de mines entre 30 et 100 : ';
export const mineCountTitle = 'Saisie';
export const mineEntryMaxLength = 32;
export const countBeingChosen = 'L\'adversaire choisit…';

/// The duel's verdict on rounds won, shown by the side that leaves.
export function duelVerdict(won1, won2) {
    if (won1 === won2)
        return { text: 'Le jeu est serré, personne n\'a gagné.',
            title: 'Recommencez le duel un autre fois !' };
    const winner = won1 > won2 ? 1 : 2;
    return { text: `Le joueur ${winner} a gagné le jeu.`, title: `Bravo joueur ${winner} !` };
}

// Why the server turned the page away, by the refusal's reason (wire.js Reason), and the
// title of the boxes the page shows of its own, as the desktop program says them.
export const onlineTitle = 'Duel en ligne';
export const refusals = {
    1: 'Aucune salle ouverte ne porte ce code.',
    2: 'Cette salle a déjà ses deux joueurs, ou le serveur n\'ouvre plus de salle pour le moment.',
    3: 'Trop de codes de salle faux : le serveur refuse cette adresse pour une minute.',
    4: 'Le serveur parle une autre version du duel en ligne.',
    5: 'Aucune salle ouverte ne porte ce code.',
};
export const unreachable = 'Impossible de joindre le serveur de duels.';
export const connectionLost = 'La connexion avec le serveur est perdue. Le duel s\'arrête.';
export const garbled = 'Le serveur a envoyé un message invalide. Le duel s\'arrête.';

// The information window.
export const aboutTitle = 'À propos du démineur';
export const aboutVersion = 'Version 1.0 RC 1';
export const aboutDescription = [
    'Volcanelle, le démineur en duel, a été imaginé et programmé par Basalte et Obsidienne.',
    'Vous pouvez jouer à 2, l\'un contre l\'autre. Le but du jeu est de faire sauter le plus '
        + 'de mine possible ! Les chiffres, que vous voyez, donnent le nombre de bombes '
        + 'présentes sur les cases environnantes.',
    '',
    'Auteurs : Basalte et Obsidienne',
    'Volcanelle, 2006. Bonnes parties à tous !',
].join('\n');

// What a cell says to assistive technology: never what lies under its cover.
export const covered = 'couverte';
export function pictureWord(picture) {
    if (picture === 9) return 'mine';
    if (picture === 10) return 'vide';
    return String(picture);
}
export const cellPlace = (index) =>
    `Ligne ${Math.floor(index / 15) + 1}, colonne ${(index % 15) + 1}`;
/// The last move as the desktop game describes it: the cell, what it shows, how many cells
/// it opened, then whose turn it is.
export function moveDescription(index, picture, opened, turn) {
    let told = `${cellPlace(index)}, ${pictureWord(picture)}`;
    if (opened > 1) told += `, ${opened} cases découvertes`;
    return `${told}. ${turn}`;
}
