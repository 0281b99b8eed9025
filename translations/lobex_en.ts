<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ru">
<context>
    <name>lobex</name>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Расчёт NEC-2: %1, %2 с</source>
        <translation>NEC-2 run: %1, %2 s</translation>
    </message>
    <message>
        <source>Программа nec2c не запускается; установите пакет nec2c. </source>
        <translation>nec2c does not start; install the nec2c package. </translation>
    </message>
    <message>
        <source>У диаграмм нет общих углов: разность не построить.</source>
        <translation>The patterns share no angles: no difference can be drawn.</translation>
    </message>
    <message>
        <source>Диаграмма задана неполной сеткой углов: разность не построить.</source>
        <translation>A pattern has an incomplete angle grid: no difference can be drawn.</translation>
    </message>
    <message>
        <source>Чтобы закрыть окно, нажмите кнопку Выход.</source>
        <translation>To close the window, press the Exit button.</translation>
    </message>
    <message>
        <source>Чтобы выйти из программы, нажмите кнопку Выход,<byte value="xd"/>
либо меню Файл-&gt;Выход</source>
        <translation>To quit the program, press the Exit button<byte value="xd"/>
or use the menu File-&gt;Exit</translation>
    </message>
    <message>
        <source>Не удалось открыть справку: </source>
        <translation>Cannot open the help: </translation>
    </message>
    <message>
        <source>Он убран из списка последних файлов.</source>
        <translation>It has been removed from the recent files.</translation>
    </message>
    <message>
        <source>Файл перечитан: </source>
        <translation>File reloaded: </translation>
    </message>
    <message>
        <source>Lobex - просмотр результатов MMANA</source>
        <translation>Lobex - MMANA results viewer</translation>
    </message>
    <message>
        <source>График скопирован в память.</source>
        <translation>Graph copied to the clipboard.</translation>
    </message>
    <message>
        <source>Ошибка копирования графика</source>
        <translation>Error copying the graph</translation>
    </message>
    <message>
        <source>Ошибка печати графика</source>
        <translation>Error printing the graph</translation>
    </message>
    <message>
        <source>Ошибка сохранения графика</source>
        <translation>Error saving the graph</translation>
    </message>
    <message>
        <source>Экран скопирован в память.</source>
        <translation>Screen copied to the clipboard.</translation>
    </message>
    <message>
        <source>Ощибка записи в файл</source>
        <translation>Error writing the file</translation>
    </message>
    <message>
        <source>Вывод 3D моделей на печать в данной версии не поддерживается</source>
        <translation>Printing 3D models is not supported in this version</translation>
    </message>
    <message>
        <source>Снимок экрана сохранён в файл: </source>
        <translation>Screenshot saved to file: </translation>
    </message>
    <message>
        <source>Не удалось создать папку для временных файлов. Программа будет закрыта.</source>
        <translation>Cannot create a folder for temporary files. The program will close.</translation>
    </message>
    <message>
        <source>Не удалось создать файл блокировки</source>
        <translation>Cannot create the lock file</translation>
    </message>
    <message>
        <source>Запуск второй копии программы не будет замечен.</source>
        <translation>A second copy of the program started will not be noticed.</translation>
    </message>
    <message>
        <source>Максимум Излучения</source>
        <translation>Radiation Maximum</translation>
    </message>
    <message>
        <source>Горизонт</source>
        <translation>Horizon</translation>
    </message>
    <message>
        <source>Азимут</source>
        <translation>Azimuth</translation>
    </message>
    <message>
        <source>Уровень</source>
        <translation>Level</translation>
    </message>
    <message>
        <source>Ширина по уровню -3dB</source>
        <translation>Beamwidth at -3dB</translation>
    </message>
    <message>
        <source>Лепесток</source>
        <translation>Lobe</translation>
    </message>
    <message>
        <source>Азимут 1</source>
        <translation>Azimuth 1</translation>
    </message>
    <message>
        <source>Азимут 2</source>
        <translation>Azimuth 2</translation>
    </message>
    <message>
        <source>Срез Aзимута для</source>
        <translation>Azimuth cut at</translation>
    </message>
    <message>
        <source>Возвышения</source>
        <translation>Elevation</translation>
    </message>
    <message>
        <source>3D Модель</source>
        <translation>3D Model</translation>
    </message>
    <message>
        <source>Цвет усиления</source>
        <translation>Gain colours</translation>
    </message>
    <message>
        <source>Раскрасить диаграмму по усилению, со шкалой в dBi</source>
        <translation>Colour the pattern by gain, with a scale in dBi</translation>
    </message>
    <message>
        <source> дБ</source>
        <translation> dB</translation>
    </message>
    <message>
        <source>Нижний край шкалы цветов: на сколько дБ ниже максимума</source>
        <translation>Bottom of the colour scale: how many dB below the maximum</translation>
    </message>
    <message>
        <source>Ваша видеокарта не поддерживает нужный графический режим.<byte value="xd"/>
Прорисовка будет выполняться программно, скорость работы уменьшится.<byte value="xd"/>
Пустое черное окно будет являться индикацией неудачной попытки программной прорисовки.</source>
        <translation>Your video card does not support the graphics mode needed.<byte value="xd"/>
Drawing will be done in software and will be slower.<byte value="xd"/>
An empty black window means that software drawing failed.</translation>
    </message>
    <message>
        <source>Прорисовка будет выполняться программно, скорость работы уменьшится.</source>
        <translation>Drawing will be done in software and will be slower.</translation>
    </message>
    <message>
        <source>Обработка трехмерных изображений не поддерживается данным компьюьером.</source>
        <translation>This computer does not support 3D graphics.</translation>
    </message>
    <message>
        <source>Параметр</source>
        <translation>Parameter</translation>
    </message>
    <message>
        <source>КСВ</source>
        <translation>SWR</translation>
    </message>
    <message>
        <source>Усиление</source>
        <translation>Gain</translation>
    </message>
    <message>
        <source>Зенит</source>
        <translation>Zenith</translation>
    </message>
    <message>
        <source>Парам</source>
        <translation>Param</translation>
    </message>
    <message>
        <source>Усил</source>
        <translation>Gain</translation>
    </message>
    <message>
        <source>Впер/Назад</source>
        <translation>F/B</translation>
    </message>
    <message>
        <source>Впер/Наз</source>
        <translation>F/B</translation>
    </message>
    <message>
        <source>Угол Места</source>
        <translation>Elevation</translation>
    </message>
    <message>
        <source>Верт</source>
        <translation>Vert</translation>
    </message>
    <message>
        <source>Гориз</source>
        <translation>Horiz</translation>
    </message>
    <message>
        <source>Общая</source>
        <translation>Total</translation>
    </message>
    <message>
        <source>Файл не перечитан</source>
        <translation>File not reloaded</translation>
    </message>
    <message>
        <source>Неправильный формат данных</source>
        <translation>Wrong data format</translation>
    </message>
    <message>
        <source>Неизвестный Формат Файла</source>
        <translation>Unknown File Format</translation>
    </message>
    <message>
        <source>Ошибка чтения данных</source>
        <translation>Error reading data</translation>
    </message>
    <message>
        <source>Файл не найден</source>
        <translation>File not found</translation>
    </message>
    <message>
        <source>Ошибка записи в файл. Данные не сохранены.</source>
        <translation>Error writing the file. The data were not saved.</translation>
    </message>
    <message>
        <source>Входной файл содержит недостаточно данных для построения графика угла места.<byte value="xd"/>
Удостовертесь что файл включает данные зенита по азимуту 0 и 180 градусов.</source>
        <translation>The input file does not hold enough data for the elevation plot.<byte value="xd"/>
Make sure the file includes zenith data at azimuth 0 and 180 degrees.</translation>
    </message>
    <message>
        <source>Файл содержит слишком много узлов.<byte value="xd"/>
Уменьшите шаг Азимута и/или Зенита.</source>
        <translation>The file holds too many points.<byte value="xd"/>
Use a larger Azimuth and/or Zenith step.</translation>
    </message>
    <message>
        <source>Ошибка ввода данных</source>
        <translation>Data input error</translation>
    </message>
    <message>
        <source>Данные сохранены в файл: </source>
        <translation>Data saved to file: </translation>
    </message>
    <message>
        <source>Данные не найдены в MMANA</source>
        <translation>No data found in MMANA</translation>
    </message>
    <message>
        <source>MMANA не загружена</source>
        <translation>MMANA is not running</translation>
    </message>
    <message>
        <source>Удаление</source>
        <translation>Distance</translation>
    </message>
    <message>
        <source>Линия:</source>
        <translation>Line:</translation>
    </message>
    <message>
        <source>Частота</source>
        <translation>Frequency</translation>
    </message>
    <message>
        <source>Длина</source>
        <translation>Length</translation>
    </message>
    <message>
        <source>Провод:</source>
        <translation>Wire:</translation>
    </message>
    <message>
        <source>Ошибка чтения файла описания антенны.</source>
        <translation>Error reading the antenna description file.</translation>
    </message>
    <message>
        <source>Трехмерная модель не построена.</source>
        <translation>The 3D model was not built.</translation>
    </message>
    <message>
        <source>Входной файл содержит недостаточно данных для построения трехмерной диаграммы.</source>
        <translation>The input file does not hold enough data for a 3D pattern.</translation>
    </message>
    <message>
        <source>Столбцы азимута содержат разное число точек.</source>
        <translation>The azimuth columns hold different numbers of points.</translation>
    </message>
    <message>
        <source>Усиление диаграммы нигде не превышает -60 dBi.</source>
        <translation>The pattern gain nowhere exceeds -60 dBi.</translation>
    </message>
    <message>
        <source>Диаграмма не имеет положительных координат.</source>
        <translation>The pattern has no positive coordinates.</translation>
    </message>
    <message>
        <source>КСВ мин. </source>
        <translation>SWR min. </translation>
    </message>
    <message>
        <source>Резонанс </source>
        <translation>Resonance </translation>
    </message>
    <message>
        <source>DPlot Jr не найден.<byte value="xd"/>
Перед тем как использовать эту программу, скачайте и проинсталлируйте<byte value="xd"/>
программу DPlot Jr c сайта http://www.dplot.com</source>
        <translation>DPlot Jr was not found.<byte value="xd"/>
Before using this program, download and install<byte value="xd"/>
DPlot Jr from http://www.dplot.com</translation>
    </message>
    <message>
        <source>Ошибка построения графика.<byte value="xd"/>
Закройте и перестартуйте программу.</source>
        <translation>Error drawing the graph.<byte value="xd"/>
Close and restart the program.</translation>
    </message>
    <message>
        <source>Нет данных</source>
        <translation>No data</translation>
    </message>
    <message>
        <source>Угол</source>
        <translation>Elevation</translation>
    </message>
    <message>
        <source>Напряженность поля, V/m</source>
        <translation>Field strength, V/m</translation>
    </message>
    <message>
        <source>Напряженность поля, A/m</source>
        <translation>Field strength, A/m</translation>
    </message>
    <message>
        <source>Удаление, м</source>
        <translation>Distance, m</translation>
    </message>
    <message>
        <source>Частотные характеристики</source>
        <translation>Frequency response</translation>
    </message>
    <message>
        <source>Частота, MHz</source>
        <translation>Frequency, MHz</translation>
    </message>
    <message>
        <source>Ток провода, А</source>
        <translation>Wire current, A</translation>
    </message>
    <message>
        <source>Нормализованная длина провода</source>
        <translation>Normalised wire length</translation>
    </message>
    <message>
        <source>Данные</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>Логарифмическую шкалу установить нельзя<byte value="xd"/>
так как данные содержат нулевые или отрицательные значения</source>
        <translation>A logarithmic scale cannot be set<byte value="xd"/>
because the data contain zero or negative values</translation>
    </message>
    <message>
        <source>GIF - полный оборот (*.gif)</source>
        <translation>GIF - full turn (*.gif)</translation>
    </message>
    <message>
        <source>GIF - по частотам (*.gif)</source>
        <translation>GIF - over frequency (*.gif)</translation>
    </message>
    <message>
        <source>GIF по частотам делается из диаграмм выхода NEC-2 на двух частотах или более.</source>
        <translation>A GIF over frequency needs a NEC-2 output with patterns at two frequencies or more.</translation>
    </message>
    <message>
        <source>Угол места</source>
        <translation>Elevation</translation>
    </message>
    <message>
        <source>Файл не сохранён: программа не пишет файлы такого типа</source>
        <translation>File not saved: the program does not write files of this type</translation>
    </message>
    <message>
        <source>Можно сохранить как</source>
        <translation>Files can be saved as</translation>
    </message>
    <message>
        <source>Волновое сопротивление должно быть больше нуля</source>
        <translation>The reference impedance must be greater than zero</translation>
    </message>
    <message>
        <source>Строка %1: открываются только S-параметры (в файле параметры Y, Z, H или G)</source>
        <translation>Line %1: only S parameters can be opened (the file holds Y, Z, H or G parameters)</translation>
    </message>
    <message>
        <source>Строка %1: открываются только однопортовые файлы (.s1p), здесь больше трёх чисел</source>
        <translation>Line %1: only one-port files (.s1p) can be opened; this line has more than three numbers</translation>
    </message>
    <message>
        <source>Строка %1 файла Touchstone не читается</source>
        <translation>Line %1 of the Touchstone file cannot be read</translation>
    </message>
    <message>
        <source>В файле Touchstone нет ни одной частоты</source>
        <translation>The Touchstone file holds no frequencies</translation>
    </message>
    <message>
        <source>КСВ (%1 Ом)</source>
        <translation>SWR (%1 Ω)</translation>
    </message>
    <message>
        <source>Обр. потери</source>
        <translation>Return loss</translation>
    </message>
    <message>
        <source>КСВ ≤ %1</source>
        <translation>SWR ≤ %1</translation>
    </message>
    <message>
        <source>в полосе</source>
        <translation>in band</translation>
    </message>
    <message>
        <source>вне полосы</source>
        <translation>out of band</translation>
    </message>
    <message>
        <source>Эталон %1: %2</source>
        <translation>Reference %1: %2</translation>
    </message>
    <message>
        <source>Данные MMANA</source>
        <translation>MMANA data</translation>
    </message>
    <message>
        <source>Сначала откройте результат, с которым нужно сравнивать.</source>
        <translation>Open the result to compare with first.</translation>
    </message>
    <message>
        <source>Токи проводов и ближнее поле не сравниваются. Сравнить можно диаграммы направленности, частотные характеристики и таблицы оптимизации.</source>
        <translation>Wire currents and near fields are not compared. Patterns, frequency sweeps and optimisation tables can be compared.</translation>
    </message>
    <message>
        <source>Этот файл нельзя сравнить с открытым: сравниваются диаграммы с диаграммами, частотные характеристики с частотными, таблицы оптимизации с таблицами по тому же параметру.</source>
        <translation>This file cannot be compared with the one open: patterns compare with patterns, sweeps with sweeps, optimisation tables with tables over the same parameter.</translation>
    </message>
    <message>
        <source>С открытым результатом можно сравнить не больше 7 других.</source>
        <translation>At most 7 other results can be compared with the one open.</translation>
    </message>
    <message>
        <source>Сравнить с</source>
        <translation>Compare with</translation>
    </message>
    <message>
        <source>Разность, дБ</source>
        <translation>Difference, dB</translation>
    </message>
    <message>
        <source>Разность B − A</source>
        <translation>Difference B − A</translation>
    </message>
    <message>
        <source>Z0, Ом:</source>
        <translation>Z0, Ω:</translation>
    </message>
    <message>
        <source>Полоса по КСВ ≤</source>
        <translation>Bandwidth at SWR ≤</translation>
    </message>
    <message>
        <source>Волновое сопротивление, при котором считаются КСВ, |Γ| и возвратные потери: из файла, из списка или любое (например 50-j10), ввод - Enter</source>
        <translation>Reference impedance for SWR, |Γ| and return loss: the file&apos;s own, one from the list or any (e.g. 50-j10), confirm with Enter</translation>
    </message>
    <message>
        <source>Наибольший КСВ, при котором частота входит в полосу</source>
        <translation>The highest SWR at which a frequency counts as in band</translation>
    </message>
    <message>
        <source>Полосы, где КСВ при выбранном Z0 не больше порога, и частоты, где jX = 0</source>
        <translation>The ranges where the SWR at the chosen Z0 is at most the threshold, and the frequencies where jX = 0</translation>
    </message>
    <message>
        <source>из файла: %1</source>
        <translation>file&apos;s own: %1</translation>
    </message>
    <message>
        <source>нет</source>
        <translation>none</translation>
    </message>
    <message>
        <source>КСВ мин. %1 на %2 MHz</source>
        <translation>SWR min. %1 at %2 MHz</translation>
    </message>
    <message>
        <source>Резонансов нет</source>
        <translation>No resonances</translation>
    </message>
    <message>
        <source>Резонансы (jX = 0): %1 MHz</source>
        <translation>Resonances (jX = 0): %1 MHz</translation>
    </message>
    <message>
        <source>Вперёд/назад: максимум минус усиление на азимуте +180°</source>
        <translation>Front to back: the maximum minus the gain at azimuth +180°</translation>
    </message>
    <message>
        <source>Вперёд/тыл: максимум минус наибольшее усиление в задней полуплоскости (азимут +90°…+270°)</source>
        <translation>Front to rear: the maximum minus the largest gain over the rear half (azimuth +90°…+270°)</translation>
    </message>
    <message>
        <source>Вперёд/вбок: максимум минус большее из усилений на азимуте ±90°</source>
        <translation>Front to side: the maximum minus the larger of the gains at azimuth ±90°</translation>
    </message>
    <message>
        <source>Бок.леп.</source>
        <translation>Side lobe</translation>
    </message>
    <message>
        <source>Уровень наибольшего бокового лепестка относительно максимума</source>
        <translation>Level of the largest side lobe relative to the maximum</translation>
    </message>
    <message>
        <source>Аз.леп.</source>
        <translation>Lobe az.</translation>
    </message>
    <message>
        <source>Азимут наибольшего бокового лепестка</source>
        <translation>Azimuth of the largest side lobe</translation>
    </message>
    <message>
        <source>Луч УМ</source>
        <translation>Elev. beam</translation>
    </message>
    <message>
        <source>Ширина луча по углу места на уровне -3 dB</source>
        <translation>Elevation beam width at -3 dB</translation>
    </message>
    <message>
        <source>УМ 1</source>
        <translation>Elev. 1</translation>
    </message>
    <message>
        <source>Нижний край луча по углу места (-3 dB)</source>
        <translation>Lower edge of the elevation beam (-3 dB)</translation>
    </message>
    <message>
        <source>УМ 2</source>
        <translation>Elev. 2</translation>
    </message>
    <message>
        <source>Верхний край луча по углу места (-3 dB); больше 90° - за зенитом</source>
        <translation>Upper edge of the elevation beam (-3 dB); above 90° it lies past the zenith</translation>
    </message>
    <message>
        <source>Ср.усил.</source>
        <translation>Avg. gain</translation>
    </message>
    <message>
        <source>Среднее усиление по сфере: 0 dB у антенны без потерь, меньше - потери</source>
        <translation>Gain averaged over the sphere: 0 dB for a lossless antenna, less means losses</translation>
    </message>
    <message>
        <source>КНД</source>
        <translation>Directivity</translation>
    </message>
    <message>
        <source>Коэффициент направленного действия: максимум минус среднее усиление</source>
        <translation>Directivity: the maximum minus the average gain</translation>
    </message>
    <message>
        <source>Параметры диаграммы</source>
        <translation>Pattern figures</translation>
    </message>
    <message>
        <source>Волновое сопротивление задаётся числом Ом больше нуля, например 50, 75 или 50-j10.<byte value="xd"/>
Оставлено прежнее значение.</source>
        <translation>The reference impedance is a number of ohms above zero, such as 50, 75 or 50-j10.<byte value="xd"/>
The previous value is kept.</translation>
    </message>
    <message>
        <source>КСВ при Z0 = </source>
        <translation>SWR at Z0 = </translation>
    </message>
    <message>
        <source>Возвратные потери, dB</source>
        <translation>Return loss, dB</translation>
    </message>
    <message>
        <source> Ом</source>
        <translation> Ohm</translation>
    </message>
    <message>
        <source>КСВ=</source>
        <translation>SWR=</translation>
    </message>
    <message>
        <source>Возвр. потери=</source>
        <translation>Return loss=</translation>
    </message>
    <message>
        <source>КСВ </source>
        <translation>SWR </translation>
    </message>
    <message>
        <source>Диаграмма Вольперта-Смита</source>
        <translation>Smith chart</translation>
    </message>
    <message>
        <source>Диаграмму Вольперта-Смита построить нельзя:<byte value="xd"/>
в данных нет реактивного сопротивления jX</source>
        <translation>No Smith chart can be drawn:<byte value="xd"/>
the data hold no reactance jX</translation>
    </message>
    <message>
        <source>это папка</source>
        <translation>it is a folder</translation>
    </message>
    <message>
        <source>это канал (FIFO), а не файл</source>
        <translation>it is a pipe (FIFO), not a file</translation>
    </message>
    <message>
        <source>это не обычный файл (устройство или сокет)</source>
        <translation>it is not a regular file (a device or a socket)</translation>
    </message>
    <message>
        <source>нет прав на чтение</source>
        <translation>no permission to read</translation>
    </message>
    <message>
        <source>ошибка ввода-вывода при чтении</source>
        <translation>input/output error while reading</translation>
    </message>
    <message>
        <source>строка %1: длиннее 65536 знаков</source>
        <translation>line %1: longer than 65536 characters</translation>
    </message>
    <message>
        <source>не хватает памяти</source>
        <translation>out of memory</translation>
    </message>
    <message>
        <source>файл пуст</source>
        <translation>the file is empty</translation>
    </message>
    <message>
        <source>строка %1: заголовок не узнан</source>
        <translation>line %1: header not recognised</translation>
    </message>
    <message>
        <source>нет ни одной строки данных</source>
        <translation>no data lines</translation>
    </message>
    <message>
        <source>строка %1: больше 32767 строк</source>
        <translation>line %1: more than 32767 lines</translation>
    </message>
    <message>
        <source>строка %1: нет поля %2</source>
        <translation>line %1: no field %2</translation>
    </message>
    <message>
        <source>в модели нет строки автосегментации: взяты DM1 = 400, DM2 = 40</source>
        <translation>the model has no segmentation line: DM1 = 400, DM2 = 40 taken</translation>
    </message>
    <message>
        <source>на одном сегменте больше, чтобы середина была сегментом (номера проводов: %1)</source>
        <translation>one segment more, to put one on the centre (wires %1)</translation>
    </message>
    <message>
        <source>в модели нет строки окружения: расчёт в свободном пространстве</source>
        <translation>the model has no environment line: computed in free space</translation>
    </message>
    <message>
        <source>реальная земля: проницаемость 13, проводимость 0,005 См/м (в модели их нет); NEC-2 считает её и под проводами, MININEC только в диаграмме</source>
        <translation>real ground: permittivity 13, conductivity 0.005 S/m (the model has none); NEC-2 computes it under the wires too, MININEC only in the pattern</translation>
    </message>
    <message>
        <source>стек %1 не перенесён: в колоде одна антенна</source>
        <translation>stack %1 not carried: the deck holds one antenna</translation>
    </message>
    <message>
        <source>ступенчатый диаметр не перенесён, радиус взят по номеру набора (номера проводов: %1)</source>
        <translation>stepped diameters not carried, the radius taken from the set number (wires %1)</translation>
    </message>
    <message>
        <source>провода нулевой длины пропущены (номера проводов: %1)</source>
        <translation>wires of no length left out (wires %1)</translation>
    </message>
    <message>
        <source>материал проводов (код %1) не перенесён: провода без потерь</source>
        <translation>wire material (code %1) not carried: lossless wires</translation>
    </message>
    <message>
        <source>раздел %1 не перенесён</source>
        <translation>section %1 not carried</translation>
    </message>
    <message>
        <source>добротность Q нагрузок взята сопротивлением на частоте модели</source>
        <translation>the loads' Q taken as a resistance at the model's frequency</translation>
    </message>
    <message>
        <source>нагрузки в строках %1 (S-параметры) взяты их сопротивлением на частоте модели для всех частот</source>
        <translation>the loads of lines %1 (Laplace coefficients) taken as their impedance at the model's frequency for every frequency</translation>
    </message>
    <message>
        <source>строка %1, поле %2: нет числа</source>
        <translation>line %1, field %2: no number</translation>
    </message>
    <message>
        <source>строка %1, поле %2: число не умещается в 32 бита</source>
        <translation>line %1, field %2: the number does not fit in 32 bits</translation>
    </message>
    <message>
        <source>строка %1: поля не разделены ни табуляцией, ни запятой, ни пробелом</source>
        <translation>line %1: fields separated by neither tabs, commas nor spaces</translation>
    </message>
    <message>
        <source>строка %1: больше 32767 импульсов на провод</source>
        <translation>line %1: more than 32767 pulses on one wire</translation>
    </message>
    <message>
        <source>в файле нет токов этого провода</source>
        <translation>the file holds no currents of this wire</translation>
    </message>
    <message>
        <source>строка %1: больше 32767 точек на линию</source>
        <translation>line %1: more than 32767 points on one line</translation>
    </message>
    <message>
        <source>строка %1: файл кончается раньше строк составляющих Y и Z этой точки</source>
        <translation>line %1: the file ends before the Y and Z lines of this point</translation>
    </message>
    <message>
        <source>в файле нет этой линии</source>
        <translation>the file holds no such line</translation>
    </message>
    <message>
        <source>строка %1: у предыдущего азимута меньше точек, чем у первого</source>
        <translation>line %1: the previous azimuth has fewer points than the first</translation>
    </message>
    <message>
        <source>строка %1: у этого азимута больше точек, чем у первого</source>
        <translation>line %1: this azimuth has more points than the first</translation>
    </message>
    <message>
        <source>у последнего азимута меньше точек, чем у первого</source>
        <translation>the last azimuth has fewer points than the first</translation>
    </message>
    <message>
        <source>в файле только один азимут</source>
        <translation>the file holds one azimuth only</translation>
    </message>
    <message>
        <source>строка %1: больше 16384 точек на один азимут</source>
        <translation>line %1: more than 16384 points at one azimuth</translation>
    </message>
    <message>
        <source>Фаза</source>
        <translation>Phase</translation>
    </message>
    <message>
        <source>Показать мгновенный ток вдоль проводов в движении, по фазе</source>
        <translation>Animate the instantaneous current along the wires over the phase</translation>
    </message>
    <message>
        <source>Провод</source>
        <translation>Wire</translation>
    </message>
    <message>
        <source>импульс</source>
        <translation>pulse</translation>
    </message>
    <message>
        <source>фаза</source>
        <translation>phase</translation>
    </message>
    <message>
        <source>А</source>
        <translation>A</translation>
    </message>
    <message>
        <source>мА</source>
        <translation>mA</translation>
    </message>
    <message>
        <source>Полосы, MHz:</source>
        <translation>Bands, MHz:</translation>
    </message>
    <message>
        <source>Резонансы, MHz:</source>
        <translation>Resonances, MHz:</translation>
    </message>
    <message>
        <source>Частоты, MHz:</source>
        <translation>Frequencies, MHz:</translation>
    </message>
    <message>
        <source>Чтение: %1, %2 с</source>
        <translation>Reading: %1, %2 s</translation>
    </message>
    <message>
        <source>Рассчитано NEC-2; числа немного отличаются от MININEC MMANA</source>
        <translation>Computed by NEC-2; the numbers differ a little from MMANA's MININEC</translation>
    </message>
    <message>
        <source>Модель нельзя рассчитать: </source>
        <translation>The model cannot be computed: </translation>
    </message>
    <message>
        <source>NEC-2 рассчитает модель %1 с оговорками:</source>
        <translation>NEC-2 computes the model %1 with these reservations:</translation>
    </message>
</context>
<context>
    <name>lobex::CompareControls</name>
    <message>
        <source>Сравнить с…</source>
        <translation>Compare with…</translation>
    </message>
    <message>
        <source>Запомнить как эталон</source>
        <translation>Keep as reference</translation>
    </message>
    <message>
        <source>Убрать сравнение</source>
        <translation>Remove comparison</translation>
    </message>
    <message>
        <source>Нормировать</source>
        <translation>Normalise</translation>
    </message>
    <message>
        <source>Каждая диаграмма относительно своего максимума, а не в абсолютных dBi</source>
        <translation>Each pattern relative to its own maximum rather than in absolute dBi</translation>
    </message>
    <message>
        <source>Разность</source>
        <translation>Difference</translation>
    </message>
    <message>
        <source>Первая сравниваемая диаграмма минус открытая, в дБ: кривые по углу и цвет поверхности в 3D</source>
        <translation>The first compared pattern less the one on show, in dB: curves against the angle and the surface colours in 3D</translation>
    </message>
</context>
<context>
    <name>lobex::CompareTable</name>
    <message>
        <source>Файл</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Макс., dBi</source>
        <translation>Max., dBi</translation>
    </message>
    <message>
        <source>F/B, dB</source>
        <translation>F/B, dB</translation>
    </message>
    <message>
        <source>-3 dB, °</source>
        <translation>-3 dB, °</translation>
    </message>
    <message>
        <source>Возв., °</source>
        <translation>Elev., °</translation>
    </message>
    <message>
        <source>КСВ мин.</source>
        <translation>SWR min.</translation>
    </message>
    <message>
        <source>f, MHz</source>
        <translation>f, MHz</translation>
    </message>
    <message>
        <source>Полоса, MHz</source>
        <translation>Band, MHz</translation>
    </message>
    <message>
        <source>Резонанс, MHz</source>
        <translation>Resonance, MHz</translation>
    </message>
</context>
<context>
    <name>lobex::NecControls</name>
    <message>
        <source>Диаграмма</source>
        <translation>Pattern</translation>
    </message>
    <message>
        <source>Частотные характеристики</source>
        <translation>Frequency response</translation>
    </message>
    <message>
        <source>Токи</source>
        <translation>Currents</translation>
    </message>
    <message>
        <source>Ближнее поле</source>
        <translation>Near field</translation>
    </message>
    <message>
        <source>Показать:</source>
        <translation>Show:</translation>
    </message>
    <message>
        <source>Частота:</source>
        <translation>Frequency:</translation>
    </message>
    <message>
        <source>Что показать из результатов NEC-2</source>
        <translation>What of the NEC-2 results to show</translation>
    </message>
    <message>
        <source>Частота, МГц, результаты которой показаны ([ и ] - предыдущая и следующая)</source>
        <translation>The frequency, MHz, whose results are shown ([ and ]: the previous and the next)</translation>
    </message>
    <message>
        <source>Общая шкала</source>
        <translation>Common scale</translation>
    </message>
    <message>
        <source>Одна шкала цветов усиления для диаграмм всех частот, от наибольшего их максимума</source>
        <translation>One gain colour scale for the patterns of every frequency, from the greatest of their peaks</translation>
    </message>
    <message>
        <source>Предыдущая частота</source>
        <translation>Previous frequency</translation>
    </message>
    <message>
        <source>Следующая частота</source>
        <translation>Next frequency</translation>
    </message>
</context>
<context>
    <name>lobex::frmAbout</name>
    <message>
        <source>О Программе</source>
        <translation>About</translation>
    </message>
</context>
<context>
    <name>lobex::frmChoice</name>
    <message>
        <source>Выбор Графика</source>
        <translation>Choose Graph</translation>
    </message>
    <message>
        <source>Азимут</source>
        <translation>Azimuth</translation>
    </message>
    <message>
        <source>Угол Места</source>
        <translation>Elevation</translation>
    </message>
</context>
<context>
    <name>lobex::frmD3D</name>
    <message>
        <source>Диаграмма Направленности - 3D - Lobex by Orvane</source>
        <translation>Radiation Pattern - 3D - Lobex by Orvane</translation>
    </message>
    <message>
        <source>Вращать</source>
        <translation>Rotate</translation>
    </message>
    <message>
        <source>Сетка</source>
        <translation>Wireframe</translation>
    </message>
    <message>
        <source>Выход</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Непрерывно вращать объёмную диаграмму</source>
        <translation>Keep the 3D pattern turning</translation>
    </message>
    <message>
        <source>Показать объёмную диаграмму сеткой</source>
        <translation>Show the 3D pattern as a wireframe</translation>
    </message>
    <message>
        <source>Вернуть объёмную диаграмму в главное окно</source>
        <translation>Return the 3D pattern to the main window</translation>
    </message>
</context>
<context>
    <name>lobex::frmData</name>
    <message>
        <source>Угол Места:</source>
        <translation>Elevation:</translation>
    </message>
    <message>
        <source>Набор:</source>
        <translation>Set:</translation>
    </message>
    <message>
        <source>Сервис</source>
        <translation>Tools</translation>
    </message>
    <message>
        <source>Преобразовать файл CSV</source>
        <translation>Convert CSV file</translation>
    </message>
    <message>
        <source>Преобразовать папку</source>
        <translation>Convert folder</translation>
    </message>
    <message>
        <source>Снимок</source>
        <translation>Snapshot</translation>
    </message>
    <message>
        <source>Выход</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Открыть</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Печать</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>Данные</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>Источник</source>
        <translation>Source</translation>
    </message>
    <message>
        <source>Источник данных:</source>
        <translation>Data source:</translation>
    </message>
    <message>
        <source>Файл</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Красная Линия:</source>
        <translation>Red Line:</translation>
    </message>
    <message>
        <source>Синяя Линия:</source>
        <translation>Blue Line:</translation>
    </message>
    <message>
        <source>Сетка</source>
        <translation>Wireframe</translation>
    </message>
    <message>
        <source>Вращать</source>
        <translation>Rotate</translation>
    </message>
    <message>
        <source>Полярный</source>
        <translation>Polar</translation>
    </message>
    <message>
        <source>3D Модель</source>
        <translation>3D Model</translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Последние файлы</source>
        <translation>Recent files</translation>
    </message>
    <message>
        <source>Перечитывать при изменении</source>
        <translation>Reload when changed</translation>
    </message>
    <message>
        <source>График</source>
        <translation>Graph</translation>
    </message>
    <message>
        <source>Скопировать</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Распечатать</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>Экран</source>
        <translation>Screen</translation>
    </message>
    <message>
        <source>Помощь</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Справка</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>О Программе</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Язык</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>Читать таблицу результатов из запущенной MMANA</source>
        <translation>Read the results table from the running MMANA</translation>
    </message>
    <message>
        <source>Читать файл, сохранённый MMANA (.csv)</source>
        <translation>Read a file saved by MMANA (.csv)</translation>
    </message>
    <message>
        <source>Загрузить данные из выбранного источника (Ctrl+O)</source>
        <translation>Load data from the chosen source (Ctrl+O)</translation>
    </message>
    <message>
        <source>Величина, которую рисует красная линия</source>
        <translation>The quantity the red line draws</translation>
    </message>
    <message>
        <source>Величина, которую рисует синяя линия (None - без второй линии)</source>
        <translation>The quantity the blue line draws (None - no second line)</translation>
    </message>
    <message>
        <source>Какую часть данных файла показать</source>
        <translation>Which part of the file data to show</translation>
    </message>
    <message>
        <source>Логарифмическая шкала по оси X</source>
        <translation>Logarithmic X axis</translation>
    </message>
    <message>
        <source>Логарифмическая шкала по оси Y</source>
        <translation>Logarithmic Y axis</translation>
    </message>
    <message>
        <source>Показать объёмную диаграмму сеткой</source>
        <translation>Show the 3D pattern as a wireframe</translation>
    </message>
    <message>
        <source>Непрерывно вращать объёмную диаграмму</source>
        <translation>Keep the 3D pattern turning</translation>
    </message>
    <message>
        <source>Вернуться к полярным диаграммам</source>
        <translation>Back to the polar diagrams</translation>
    </message>
    <message>
        <source>Объёмную диаграмму поворачивают мышью и стрелками, PageUp, PageDown, Home и End</source>
        <translation>Turn the 3D pattern with the mouse and the arrow keys, PageUp, PageDown, Home and End</translation>
    </message>
    <message>
        <source>Щелчок по заголовку столбца упорядочивает строки по нему, повторный - в обратном порядке.
Ctrl+C копирует выделенные строки.</source>
        <translation>Click a column header to sort the rows by it, click again to reverse.
Ctrl+C copies the selected rows.</translation>
    </message>
    <message>
        <source>Напечатать графики так, как они показаны</source>
        <translation>Print the graphs as shown</translation>
    </message>
    <message>
        <source>Снимок активного окна программы: в буфер обмена и в файл BMP</source>
        <translation>Snapshot of the active program window: to the clipboard and a BMP file</translation>
    </message>
    <message>
        <source>Выйти из программы (Ctrl+Q)</source>
        <translation>Quit the program (Ctrl+Q)</translation>
    </message>
    <message>
        <source>Показать диаграмму в объёме</source>
        <translation>Show the pattern in 3D</translation>
    </message>
    <message>
        <source>Двойной щелчок открывает диаграммы в отдельном окне</source>
        <translation>Double-click opens the diagrams in a separate window</translation>
    </message>
    <message>
        <source>Вернуться к графику токов</source>
        <translation>Back to the current graph</translation>
    </message>
    <message>
        <source>Показать провода в объёме, раскрашенные по току</source>
        <translation>Show the wires in 3D, coloured by current</translation>
    </message>
    <message>
        <source>Рассчитать (NEC-2)</source>
        <translation>Compute (NEC-2)</translation>
    </message>
</context>
<context>
    <name>lobex::frmHelp</name>
    <message>
        <source>Справка</source>
        <translation>Help</translation>
    </message>
</context>
<context>
    <name>lobex::frmJPEG</name>
    <message>
        <source>Качество JPEG от 0 до 100: чем больше, тем лучше картинка и крупнее файл</source>
        <translation>JPEG quality from 0 to 100: higher means a better picture and a larger file</translation>
    </message>
    <message>
        <source>Ширина картинки в точках</source>
        <translation>Picture width in pixels</translation>
    </message>
    <message>
        <source>Высота картинки в точках</source>
        <translation>Picture height in pixels</translation>
    </message>
    <message>
        <source>Сохранить картинку в оттенках серого</source>
        <translation>Save the picture in shades of grey</translation>
    </message>
    <message>
        <source>Прогрессивный JPEG: при загрузке картинка проявляется постепенно</source>
        <translation>Progressive JPEG: the picture appears gradually while loading</translation>
    </message>
</context>
<context>
    <name>lobex::frmPolar</name>
    <message>
        <source>Диаграмма Направленности - Полярная - Lobex by Orvane</source>
        <translation>Radiation Pattern - Polar - Lobex by Orvane</translation>
    </message>
</context>
</TS>
