#!/usr/bin/env python3
"""Writes the help panel's translation files, app/images/LangFiles/<Name>.ini.

Each file is UTF-16LE with a byte-order mark and CRLF line ends, and holds one
section [Translations] whose keys are the two English paragraphs, the
close button's accessible name "Close" and the name of its default action
"Press", and whose values are their translations. The names are the ones TvMultiLang.dll reports.

The panel gives each paragraph a 325 x 130 box (at scale 1; 650 x 260 at 2)
and places the second one by language, so translations are worded to fit:
tests/app/language_fit_test.cpp measures every file at both scales.

Usage: tools/make-langfiles.py [output folder]
"""
import os
import sys

PORTS = ("When your notebook PC is docked on Portica Dock, your notebook PC's HDMI, VGA, "
         "and other display ports are disabled. You can use the display port on Portica Dock.")
MODELS = ("Portica Dock is compatible with specific Tavrin Notebook PC models. "
          "Please check that your notebook PC supports Portica Dock.")

# name: (first paragraph, second paragraph)
TRANSLATIONS = {
    "English": (PORTS, MODELS),
    "TChinese": (
        "接上Portica Dock後，本機HDMI、VGA等視訊埠將停用，請改用擴充座的視訊埠。",
        "Portica Dock僅相容於特定型號的Tavrin筆記型電腦。請確認您的筆記型電腦是否支援Portica Dock。",
    ),
    "SChinese": (
        "接入Portica Dock后，本机HDMI、VGA等视频接口将停用，请改用扩展坞的视频接口。",
        "Portica Dock仅兼容特定型号的Tavrin笔记本电脑。请确认您的笔记本电脑是否支持Portica Dock。",
    ),
    "Danish": (
        "Når din bærbare pc er i Portica Dock, er dens HDMI-, VGA- og andre skærmporte slået fra. "
        "Brug dockens skærmport.",
        "Portica Dock er kompatibel med bestemte modeller af Tavrin bærbare pc'er. "
        "Kontrollér, at din bærbare pc understøtter Portica Dock.",
    ),
    "Japanese": (
        "ノートPCをPortica Dockに接続すると、ノートPCのHDMI、VGAなどの映像出力端子は無効になります。"
        "Portica Dockの映像出力端子をご使用ください。",
        "Portica Dockは、特定のTavrinノートPCモデルに対応しています。"
        "お使いのノートPCがPortica Dockに対応しているかご確認ください。",
    ),
    "Poland": (
        "Gdy notebook jest podłączony do stacji Portica Dock, jego porty HDMI, VGA i inne złącza wideo "
        "są wyłączone. Możesz korzystać ze złącza wideo stacji Portica Dock.",
        "Stacja Portica Dock jest zgodna z wybranymi modelami notebooków Tavrin. "
        "Sprawdź, czy Twój notebook obsługuje stację Portica Dock.",
    ),
    "Portuguese": (
        "Quando o portátil está ligado à Portica Dock, as portas de vídeo HDMI, VGA e outras do portátil "
        "ficam desativadas. Pode utilizar a porta de vídeo da Portica Dock.",
        "A Portica Dock é compatível com determinados modelos de portáteis Tavrin. "
        "Verifique se o seu portátil suporta a Portica Dock.",
    ),
    "Brazil": (
        "Quando o notebook está conectado à Portica Dock, as portas de vídeo HDMI, VGA e outras do notebook "
        "são desativadas. Você pode usar a porta de vídeo da Portica Dock.",
        "A Portica Dock é compatível com modelos específicos de notebooks Tavrin. "
        "Verifique se o seu notebook é compatível com a Portica Dock.",
    ),
    "Spanish": (
        "Cuando el portátil está conectado a Portica Dock, sus puertos de pantalla HDMI, VGA y otros "
        "se desactivan. Puede usar el puerto de pantalla de Portica Dock.",
        "Portica Dock es compatible con determinados modelos de portátiles Tavrin. "
        "Compruebe que su portátil es compatible con Portica Dock.",
    ),
    "Dutch": (
        "Wanneer uw notebook op het Portica Dock is aangesloten, zijn de HDMI-, VGA- en andere "
        "beeldschermpoorten van de notebook uitgeschakeld. Gebruik de beeldschermpoort van het Portica Dock.",
        "Het Portica Dock is compatibel met bepaalde modellen Tavrin-notebooks. "
        "Controleer of uw notebook het Portica Dock ondersteunt.",
    ),
    "Turkish": (
        "Dizüstü bilgisayarınız Portica Dock'a takılıyken bilgisayarın HDMI, VGA ve diğer görüntü "
        "bağlantı noktaları devre dışı kalır. Portica Dock üzerindeki görüntü bağlantı noktasını kullanabilirsiniz.",
        "Portica Dock, belirli Tavrin dizüstü bilgisayar modelleriyle uyumludur. "
        "Lütfen dizüstü bilgisayarınızın Portica Dock'u desteklediğini kontrol edin.",
    ),
    "Vietnamese": (
        "Khi máy tính xách tay được gắn vào Portica Dock, các cổng HDMI, VGA và các cổng màn hình khác "
        "của máy sẽ bị vô hiệu hóa. Bạn có thể dùng cổng màn hình trên Portica Dock.",
        "Portica Dock tương thích với một số mẫu máy tính xách tay Tavrin. "
        "Vui lòng kiểm tra xem máy tính xách tay của bạn có hỗ trợ Portica Dock không.",
    ),
    "Indonesian": (
        "Saat notebook Anda terpasang pada Portica Dock, port HDMI, VGA, dan port layar lainnya pada notebook "
        "dinonaktifkan. Anda dapat menggunakan port layar pada Portica Dock.",
        "Portica Dock kompatibel dengan model Notebook PC Tavrin tertentu. "
        "Pastikan notebook Anda mendukung Portica Dock.",
    ),
    "Croatian": (
        "Kada je prijenosno računalo priključeno na Portica Dock, njegovi HDMI, VGA i ostali priključci "
        "za zaslon su onemogućeni. Možete upotrijebiti priključak za zaslon na uređaju Portica Dock.",
        "Portica Dock kompatibilan je s određenim modelima prijenosnih računala Tavrin. "
        "Provjerite podržava li vaše prijenosno računalo Portica Dock.",
    ),
    "Hungarian": (
        "Ha a noteszgép a Portica Dockhoz csatlakozik, a noteszgép HDMI-, VGA- és egyéb kijelzőportjai "
        "le vannak tiltva. Használja a Portica Dock kijelzőportját.",
        "A Portica Dock bizonyos Tavrin noteszgépmodellekkel kompatibilis. "
        "Ellenőrizze, hogy a noteszgépe támogatja-e a Portica Dockot.",
    ),
    "French": (
        "Lorsque votre ordinateur portable est connecté au Portica Dock, ses ports d'affichage HDMI, VGA "
        "et autres sont désactivés. Vous pouvez utiliser le port d'affichage du Portica Dock.",
        "Le Portica Dock est compatible avec certains modèles d'ordinateurs portables Tavrin. "
        "Vérifiez que votre ordinateur portable prend en charge le Portica Dock.",
    ),
    "German": (
        "Wenn Ihr Notebook an das Portica Dock angeschlossen ist, sind die HDMI-, VGA- und anderen "
        "Bildschirmanschlüsse des Notebooks deaktiviert. Verwenden Sie den Bildschirmanschluss des Portica Dock.",
        "Das Portica Dock ist mit bestimmten Tavrin-Notebook-Modellen kompatibel. "
        "Bitte prüfen Sie, ob Ihr Notebook das Portica Dock unterstützt.",
    ),
    "Italian": (
        "Quando il notebook è collegato a Portica Dock, le sue porte video HDMI, VGA e altre vengono "
        "disattivate. Utilizzare la porta video di Portica Dock.",
        "Portica Dock è compatibile con specifici modelli di notebook Tavrin. "
        "Verificare che il proprio notebook supporti Portica Dock.",
    ),
    "Korean": (
        "노트북을 Portica Dock에 연결하면 노트북의 HDMI, VGA 등 디스플레이 포트가 비활성화됩니다. "
        "Portica Dock의 디스플레이 포트를 사용하십시오.",
        "Portica Dock은 일부 Tavrin 노트북 모델과 호환됩니다. "
        "사용 중인 노트북이 Portica Dock을 지원하는지 확인하십시오.",
    ),
    "Russian": (
        "Когда ноутбук подключён к Portica Dock, его видеовыходы (HDMI, VGA и др.) отключены. "
        "Используйте видеовыход Portica Dock.",
        "Portica Dock совместима с определёнными моделями ноутбуков Tavrin. "
        "Убедитесь, что ваш ноутбук поддерживает Portica Dock.",
    ),
}


# The close button's name, read out by screen readers.
CLOSE = {
    "English": "Close",
    "TChinese": "關閉",
    "SChinese": "关闭",
    "Danish": "Luk",
    "Japanese": "閉じる",
    "Poland": "Zamknij",
    "Portuguese": "Fechar",
    "Brazil": "Fechar",
    "Spanish": "Cerrar",
    "Dutch": "Sluiten",
    "Turkish": "Kapat",
    "Vietnamese": "Đóng",
    "Indonesian": "Tutup",
    "Croatian": "Zatvori",
    "Hungarian": "Bezárás",
    "French": "Fermer",
    "German": "Schließen",
    "Italian": "Chiudi",
    "Korean": "닫기",
    "Russian": "Закрыть",
}


# The name of the close button's default action, read out by screen readers.
PRESS = {
    "English": "Press",
    "TChinese": "按下",
    "SChinese": "按下",
    "Danish": "Tryk",
    "Japanese": "押す",
    "Poland": "Naciśnij",
    "Portuguese": "Premir",
    "Brazil": "Pressionar",
    "Spanish": "Presionar",
    "Dutch": "Drukken",
    "Turkish": "Bas",
    "Vietnamese": "Nhấn",
    "Indonesian": "Tekan",
    "Croatian": "Pritisni",
    "Hungarian": "Megnyomás",
    "French": "Appuyer",
    "German": "Drücken",
    "Italian": "Premi",
    "Korean": "누르기",
    "Russian": "Нажать",
}


def write_file(folder, name, ports, models, close, press):
    lines = ["[Translations]", PORTS + "=" + ports, MODELS + "=" + models, "Close=" + close, "Press=" + press]
    text = "\r\n".join(lines) + "\r\n"
    with open(os.path.join(folder, name + ".ini"), "wb") as f:
        f.write(b"\xff\xfe" + text.encode("utf-16-le"))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "app", "images", "LangFiles")
    os.makedirs(folder, exist_ok=True)
    assert sorted(CLOSE) == sorted(TRANSLATIONS) == sorted(PRESS)
    for name, (ports, models) in sorted(TRANSLATIONS.items()):
        for text in (ports, models, CLOSE[name], PRESS[name]):
            # The profile reader ends a value at the line's end and trims it.
            assert "\n" not in text and "\r" not in text and text == text.strip(), name
        write_file(folder, name, ports, models, CLOSE[name], PRESS[name])


if __name__ == "__main__":
    main()
